#include "data/DataM1.h"

#include "base/Program.h"
#include "data/Schemas.h"

using namespace Qt::StringLiterals;

namespace rur::data {

namespace {

std::unique_ptr<Table> make(engine::Database &db, const TableDef &def)
{
    return std::make_unique<Table>(&db, def);
}

}  // namespace

TDM1::TDM1(QObject *parent) : QObject(parent)
{
    Dcis = make(Danove, dcisDef());
    Dtab1 = make(Danove, dtab1Def());
    Dtab2 = make(Danove, dtab2Def());
    Dtab3 = make(Danove, dtab3Def());
    Prp = make(Danove, prpDef());
    Dmt = make(Danove, dmtDef());
    Dtab1s = make(Danove, dtab1sDef());
    Dtab2s = make(Danove, dtab2sDef());
    Dtabs = make(Danove, dtabsDef());
    Dtabss = make(Danove, dtabssDef());
    Mban = make(Danove, mbanDef());
    Mban1 = make(Danove, mban1Def());
    Mbzp = make(Danove, mbzpDef());
    Mtt = make(Danove, mttDef());
    Maz = make(Danove, mazDef());
    Mdp = make(Danove, mdpDef());
    Dzal1 = make(Danove, dzal1Def());
    Dtabn1 = make(Danove, dtabn1Def());
    Dtabn2 = make(Danove, dtabn2Def());
    Dtabn3 = make(Danove, dtabn3Def());
    Dtabn1s = make(Danove, dtabn1sDef());
    Dtabn2s = make(Danove, dtabn2sDef());
    Dpsn1 = make(Danove, dpsn1Def());
    Dpsn2 = make(Danove, dpsn2Def());
    Prppz = make(Danove, prppzDef());
    Dkh = make(Danove, dkhDef());
    Mban->setIndexName(u"Ds"_s);
    Dpsn2->setIndexFieldNames(u"Npo"_s);
    attachRules();
    // The list tables show their record position while a list window has the display on.
    for (Table *t : {Dtabn1s.get(), Dtabn2s.get(), Dtab1s.get(), Dtab2s.get(), Dpsn1.get(), Dpsn2.get(), Mban.get(),
                     Mbzp.get(), Maz.get(), Mdp.get(), Dkh.get()}) {
        const auto show = [this, t] {
            if (statusDisplayOn)
                Zaznam(*t);
        };
        connect(t, &Table::recordChanged, this, show);
        connect(t, &Table::stateChanged, this, show);
    }
}

TDM1::~TDM1()
{
    closeAll();
}

QList<Table *> TDM1::tables() const
{
    return {Dcis.get(),   Dtab1.get(),  Dtab2.get(),  Dtab3.get(),  Prp.get(),    Dmt.get(),    Dtab1s.get(),
            Dtab2s.get(), Dtabs.get(),  Dtabss.get(), Mban.get(),   Mban1.get(),  Mbzp.get(),   Mtt.get(),
            Maz.get(),    Mdp.get(),    Dzal1.get(),  Dtabn1.get(), Dtabn2.get(), Dtabn3.get(), Dtabn1s.get(),
            Dtabn2s.get(), Dpsn1.get(), Dpsn2.get(),  Prppz.get(),  Dkh.get()};
}

Table *TDM1::table(const QString &name) const
{
    for (Table *t : tables())
        if (t->name().compare(name, Qt::CaseInsensitive) == 0)
            return t;
    return nullptr;
}

void TDM1::closeAll()
{
    for (Table *t : tables())
        t->close();
    tablesOpen_ = false;
}

void TDM1::setStatus(int panel, const QString &text)
{
    if (display_)
        display_->setStatusText(panel, text);
}

void TDM1::Obnovit1()
{
    for (Table *t : {Prppz.get(), Prp.get(), Dcis.get(), Dtabn1.get(), Dtabn2.get(), Dtabn3.get(), Dmt.get(),
                     Dtabn1s.get(), Dtabn2s.get(), Dtabs.get(), Dtabss.get()})
        if (t->isActive())
            t->refresh();
}

QString TDM1::taxpayerName()
{
    if (!Prp->isActive())
        return {};
    const auto text = [&](const char16_t *name) { return Prp->field(QString::fromUtf16(name)).asString(); };
    const QString tia = text(u"Tia"), jmb = text(u"Jmb"), pra = text(u"Pra"), oj1a = text(u"Oj1a"),
                  ojp3 = text(u"Ojp3");
    const bool personal = !tia.isEmpty() || !jmb.isEmpty() || !pra.isEmpty();
    const bool company = !oj1a.isEmpty() || !ojp3.isEmpty();
    if (personal && !company)
        return (tia + u' ' + jmb + u' ' + pra).trimmed();
    if (!personal && company)
        return ojp3.isEmpty() ? oj1a.trimmed() : ojp3.trimmed().left(130);
    return {};
}

QString TDM1::captionText()
{
    // A new data set's taxpayer names nobody yet: the catalogue's name stands in.
    QString name = taxpayerName();
    if (name.isEmpty())
        name = dataSetName.trimmed();
    return name.isEmpty() ? base::applicationTitle() : base::applicationTitle() + u" - "_s + name;
}

void TDM1::NazevDp1()
{
    if (display_)
        display_->setCaption(captionText());
}

QString TDM1::recordPosition(const Table &t)
{
    if (t.state() == Table::State::Insert)
        return u"Nový záznam"_s;
    if (t.recordCount() < 1)
        return u"0/"_s + QString::number(t.recordCount());
    return QString::number(t.recNo()) + u'/' + QString::number(t.recordCount());
}

void TDM1::Zaznam(Table &t)
{
    setStatus(1, recordPosition(t));
}

void TDM1::StatusEdit(Table &t)
{
    setStatus(2, t.isEditing() ? u"EDIT"_s : QString());
}

}  // namespace rur::data
