#include "base/UserSettings.h"

#include "platform/IniFile.h"

using namespace Qt::StringLiterals;

namespace rur::base {

UserSettings readUserSettings(const platform::IniFile &dph)
{
    UserSettings s;
    s.typPisma = dph.readInteger(u"Dph"_s, u"TypPisma"_s, 0);
    s.kodovani = dph.readInteger(u"Dph"_s, u"Kodovani"_s, 0);
    s.radky = dph.readBool(u"Dph"_s, u"Radky"_s, true);
    return s;
}

}  // namespace rur::base
