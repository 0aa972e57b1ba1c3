#include "RoadReport.h"

#include <cstdio>

#include "ScreenCapture.h"

bool RoadReport::Check(bool happened, const std::string& what) {
    std::printf("%s %s\n", happened ? "ok" : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!happened && !failed_) Picture("failure", WholeScreen());  // the screen as the first failure left it
    if (!happened) failed_ = true;
    return happened;
}

bool RoadReport::Picture(const std::string& name, const RECT& area) {
    bool saved = SaveScreenRect(area, shotsFolder_ + "\\" + name + ".bmp");
    if (saved) {
        std::printf("shot %s\n", name.c_str());
    } else {
        std::printf("FAIL picture %s could not be taken\n", name.c_str());
        failed_ = true;
    }
    std::fflush(stdout);
    return saved;
}
