// The passwords of data sets: asked before a data set opens, added, changed and removed in the
// catalogue's table of passwords.
#include "datasets/Catalogue.h"

#include "platform/Prompter.h"

using namespace Qt::StringLiterals;

namespace rur::datasets {

bool Catalogue::hasPassword() const
{
    return Uziv->isActive() && !Uziv->isEmpty() && !Uziv->value(Uziv->def().indexOf(u"Heslo"_s)).isNull();
}

bool Catalogue::passwordAccepted()
{
    if (!hasPassword())
        return true;
    QString typed;
    const bool given = prompter_.askText(u"Zadejte heslo"_s, QString(), &typed, true);
    if (given && typed == Uziv->field(u"Heslo"_s).asString())
        return true;
    if (given)
        prompter_.information(QString::fromUtf16(kWrongPassword));
    return false;
}

bool Catalogue::addPassword(const QString &password)
{
    if (!prompter_.confirm(u"Opravdu přidat heslo ?"_s))
        return false;
    const bool stored = password.isEmpty() || guarded([&] {
        Uziv->append();
        Uziv->field(u"Cislo"_s).setValue(currentNumber());
        Uziv->field(u"Heslo"_s).setValue(password);
        Uziv->post();
        return true;
    });
    if (!stored)
        return false;
    prompter_.information(u"Heslo bylo přidáno."_s);
    return true;
}

bool Catalogue::changePassword(const QString &present, const QString &password)
{
    if (present != Uziv->field(u"Heslo"_s).asString()) {
        prompter_.information(u"Neplatné heslo."_s);
        return false;
    }
    if (!prompter_.confirm(u"Opravdu změnit heslo ?"_s))
        return false;
    const bool stored = guarded([&] {
        if (password.isEmpty()) {
            Uziv->deleteRecord();
        } else {
            Uziv->edit();
            Uziv->field(u"Heslo"_s).setValue(password);
            Uziv->post();
        }
        return true;
    });
    if (!stored)
        return false;
    prompter_.information(u"Heslo bylo změněno."_s);
    return true;
}

}  // namespace rur::datasets
