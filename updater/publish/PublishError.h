// The failures koravel-publish reports to its user before it ends: each
// message names the file or the argument concerned.
#pragma once

#include <stdexcept>

// Something about the files, keys or values given: exit status 1.
class PublishError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The command line itself is wrong: exit status 2, with the usage text.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
