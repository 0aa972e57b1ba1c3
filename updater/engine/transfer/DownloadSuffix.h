// A transfer writes the body to "<download path>.download" until it is
// complete, and only then gives it the download path's name; the validator
// that lets a later transfer resume it lies beside it as
// "<download path>.download.validator". The planner counts the longer name
// against the path buffers as well.
#pragma once

inline constexpr char kDownloadSuffix[] = ".download";
inline constexpr char kValidatorSuffix[] = ".validator";
