#include "print/PrintCentreLayout.h"

#include "data/DataM1.h"
#include "engine/Table.h"

using namespace Qt::StringLiterals;

namespace rur::print {

namespace {

const QString kDmt = u"Dmt"_s, kMtt = u"Mtt"_s, kPrp = u"Prp"_s;

// Offsets and copies close every panel of the "Komfort" page; the offsets are the payment
// order's and the letters' (Vh, Vl) or the envelopes' (Vho, Vlo).
QList<PanelField> withOffsetsAndCopies(QList<PanelField> fields, int row, const QString &top, const QString &left,
                                       const QString &copiesCaption)
{
    fields.append({kMtt, top, u"Horní okraj"_s, PanelInput::Number, row, 0});
    fields.append({kMtt, left, u"Levý okraj"_s, PanelInput::Number, row, 1});
    fields.append({kDmt, u"Kop"_s, u"Počet kopií"_s, PanelInput::Number, row + 1, 0});
    fields.append({kDmt, u"Pk"_s, copiesCaption, PanelInput::Check, row + 1, 1});
    return fields;
}

}  // namespace

const QList<PrintNode> &rurNodes()
{
    static const QList<PrintNode> nodes = {{u"RUR"_s, 0}, {u"Tisk strany 1"_s, 1}, {u"Tisk strany 2"_s, 1}};
    return nodes;
}

const QList<PrintNode> &komfortNodes()
{
    static const QList<PrintNode> nodes = {{u"Příkazy do banky"_s, 0}, {u"Daň"_s, 1},
                                           {u"Dokumenty - dopisy"_s, 0}, {u"Tisk dokumentů - dopisů"_s, 1},
                                           {u"Tisk z adresáře"_s, 0},   {u"Obálky DL"_s, 1},
                                           {u"Obálky C5"_s, 1}};
    return nodes;
}

KomfortPanel komfortPanelOf(int node)
{
    if (node <= 1)
        return KomfortPanel::Dan;
    return node <= 3 ? KomfortPanel::Dokumenty : KomfortPanel::Obalky;
}

QString komfortPanelName(KomfortPanel panel)
{
    switch (panel) {
    case KomfortPanel::Dan: return u"Dan"_s;
    case KomfortPanel::Dokumenty: return u"Dokumenty"_s;
    case KomfortPanel::Obalky: return u"Obalky"_s;
    }
    return {};
}

const QList<PanelField> &rurPageFields()
{
    static const QList<PanelField> fields = {
        {kDmt, u"Dpt"_s, u"Horní okraj"_s, PanelInput::Number, 0, 0},
        {kDmt, u"Dpl"_s, u"Levý okraj"_s, PanelInput::Number, 0, 1},
        {kDmt, u"Kop"_s, u"Počet kopií"_s, PanelInput::Number, 1, 0},
        {kDmt, u"Pk"_s, u"Podpora tisku více kopií"_s, PanelInput::Check, 1, 1},
        {kDmt, u"Prh1"_s, u"Procházet stránky v náhledu"_s, PanelInput::Check, 2, 0},
        {kDmt, u"Trh1"_s, u"Vytisknout"_s, PanelInput::List, 3, 0, PanelAction::None, false, printRangeChoices()},
        {kPrp, u"Pcp"_s, u"Počet příloh / listů"_s, PanelInput::Number, 4, 0},
        {kPrp, u"Pcl"_s, u"/"_s, PanelInput::Number, 4, kBesideField},
    };
    return fields;
}

const QList<PanelField> &komfortPanelFields(KomfortPanel panel)
{
    static const QList<PanelField> dan = withOffsetsAndCopies(
        {
            {kMtt, u"D1"_s, u"Datum splatnosti:"_s, PanelInput::Date, 0, 0, PanelAction::Calendar, true},
            {kMtt, u"D1s"_s, QString(), PanelInput::Shown, 0, kBesideField},
            {kMtt, u"D3"_s, u"Datum vystavení:"_s, PanelInput::Date, 0, 1, PanelAction::Calendar, true},
            {kMtt, u"D3s"_s, QString(), PanelInput::Shown, 0, kBesideField},
            {kMtt, u"Bai"_s, u"Bance:"_s, PanelInput::Text, 1, 0, PanelAction::BankData, true},
            {kMtt, u"Vi"_s, u"Vystaveno v:"_s, PanelInput::Text, 1, 1, PanelAction::BankData},
            {kMtt, u"Cui"_s, u"Číslo účtu / kód banky:"_s, PanelInput::Text, 2, 0, PanelAction::BankData},
            {kMtt, u"Kbi"_s, u"/"_s, PanelInput::Text, 2, kBesideField, PanelAction::BankData},
            {kMtt, u"Cu"_s, u"Číslo účtu příjemce"_s, PanelInput::Text, 3, 0},
            {kMtt, u"Kb"_s, u"Kód"_s, PanelInput::Text, 3, 1},
            {kMtt, u"Vs"_s, u"VS"_s, PanelInput::Text, 4, 0},
            {kMtt, u"Ks"_s, u"KS"_s, PanelInput::Text, 4, 1},
            {kMtt, u"Cad1"_s, u"Daň:"_s, PanelInput::Number, 5, 0, PanelAction::TaxPaid, true},
        },
        6, u"Vh"_s, u"Vl"_s, u"Podpora více kopií"_s);
    static const QList<PanelField> dokumenty = withOffsetsAndCopies(
        {{kMtt, u"Nazev"_s, u"Název dokumentu - dopisu:"_s, PanelInput::Text, 0, 0, PanelAction::Documents, true}}, 1,
        u"Vh"_s, u"Vl"_s, u"Podpora více kopií"_s);
    static const QList<PanelField> obalky = withOffsetsAndCopies(
        {{kMtt, u"Obl"_s, u"obálky (adr.)"_s, PanelInput::List, 0, 0, PanelAction::None, false, envelopeChoices()}}, 1,
        u"Vho"_s, u"Vlo"_s, u"Podpora více kopií"_s);
    switch (panel) {
    case KomfortPanel::Dan: return dan;
    case KomfortPanel::Dokumenty: return dokumenty;
    case KomfortPanel::Obalky: return obalky;
    }
    return dan;
}

const QStringList &printRangeChoices()
{
    static const QStringList choices = {u"vybranou stránku"_s, u"všechny stránky"_s, u"liché stránky"_s,
                                        u"sudé stránky"_s};
    return choices;
}

QList<int> pagesToPrint(const QString &trh1, int selected)
{
    const QStringList &c = printRangeChoices();
    if (trh1 == c[1])
        return {1, 2};
    if (trh1 == c[2])
        return {1};
    if (trh1 == c[3])
        return {2};
    return {selected};
}

const QStringList &envelopeChoices()
{
    static const QStringList choices = {u"Tisk - bez zpětné adresy"_s, u"Tisk - se zpětnou adresou"_s,
                                        u"Tisk - se zpětnou adresou - DOPORUČENĚ"_s};
    return choices;
}

void labelPrintFields(data::TDM1 &dm)
{
    const auto messageLabel = [](const PanelField &f) {
        if (f.field == u"Kbi"_s)
            return u"Kód banky plátce"_s;
        QString label = f.label;
        if (label.endsWith(u':'))
            label.chop(1);
        return label;
    };
    QList<PanelField> all = rurPageFields();
    for (KomfortPanel p : {KomfortPanel::Dan, KomfortPanel::Dokumenty, KomfortPanel::Obalky})
        all += komfortPanelFields(p);
    for (const PanelField &f : std::as_const(all)) {
        if (f.label.isEmpty() || f.table == u"Prp"_s)
            continue;
        engine::Table *t = dm.table(f.table);
        // The envelopes' offsets share their labels with the payment order's: the messages
        // say which.
        QString label = messageLabel(f);
        if (f.field == u"Vho"_s || f.field == u"Vlo"_s)
            label += u" obálek"_s;
        if (t)
            t->setFieldLabel(f.field, label);
    }
}

}  // namespace rur::print
