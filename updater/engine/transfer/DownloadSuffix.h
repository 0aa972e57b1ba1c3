// A transfer writes the body to "<download path>.download" until it is
// complete, and only then gives it the download path's name; the planner
// counts that name against the path buffers as well.
#pragma once

inline constexpr char kDownloadSuffix[] = ".download";
