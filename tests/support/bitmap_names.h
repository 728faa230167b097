// The names of the module's 50 status pictures; every one but the two main
// body pictures also has a mask named NAME_B.
#pragma once

#include <string>
#include <vector>

namespace tb58::test {

inline std::vector<std::string> PictureNames() {
    std::vector<std::string> names = {"BM_BASE1", "BM_BASE2", "BM_CAUTION", "BM_EXTER", "BM_FIN1A", "BM_FIN1B",
                                      "BM_FIN2A", "BM_FIN2B", "BM_FIN3A", "BM_FIN3B", "BM_FIN4A", "BM_FIN4B",
                                      "BM_FIN5B", "BM_INSER", "BM_INSERZ", "BM_LCT", "BM_MAILBOX", "BM_PLOCK"};
    for (int n = 1; n <= 29; ++n) names.push_back("BM_POINT_" + std::to_string(n));
    for (const char* name : {"BM_POWEROFF", "BM_SERVICE", "BM_ZORI"}) names.push_back(name);
    return names;
}

inline bool HasMask(const std::string& name) { return name != "BM_BASE1" && name != "BM_BASE2"; }

// All 98 bitmap names, masks included.
inline std::vector<std::string> BitmapNames() {
    std::vector<std::string> names;
    for (const std::string& name : PictureNames()) {
        names.push_back(name);
        if (HasMask(name)) names.push_back(name + "_B");
    }
    return names;
}

}  // namespace tb58::test
