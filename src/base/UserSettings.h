#pragma once

namespace rur::platform {
class IniFile;
}

namespace rur::base {

// The user's choices kept in the local Dph.ini.
struct UserSettings {
    int typPisma = 0;  // 0 plain font names, 1 the " CE" names
    int kodovani = 0;  // encoding of the XML filing file
    bool radky = true;
};
UserSettings readUserSettings(const platform::IniFile &dph);

}  // namespace rur::base
