#include "base/Program.h"

using namespace Qt::StringLiterals;

namespace rur::base {

QString versionText(int version)
{
    const QString digits = QString::number(version);
    return digits.size() > 2 ? digits.left(2) + u'.' + digits.mid(2) : digits;
}

QString applicationTitle()
{
    return u"RUR "_s + versionText();
}

QString yearCode(int year)
{
    const QString digits = QString::number(year);
    return digits.size() > 1 ? digits.left(1) + digits.mid(2) : digits;
}

}  // namespace rur::base
