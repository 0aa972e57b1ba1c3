// koravel-publish: makes the publisher's key pair, writes (and signs) the
// Update.xml of a release folder, and checks a signed one.
#include "Commands.h"

#include <iostream>

int main(int argc, char** argv) {
    return RunPublishTool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
