/* A library with nothing in it but (optionally) a version resource: stands in
   for installed and downloaded program files in the tests. */
int kvtest_placeholder(void) { return 0; }
