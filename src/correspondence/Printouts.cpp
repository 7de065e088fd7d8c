#include "correspondence/Printouts.h"

#include "correspondence/AddressBook.h"
#include "data/DataM1.h"
#include "data/Schemas.h"
#include "engine/Table.h"
#include "platform/Prompter.h"
#include "report/LayoutLoader.h"
#include "report/ReportError.h"

#include <QHash>

using namespace Qt::StringLiterals;

// The layouts' resources must be initialised outside any namespace.
static void initCorrespondenceLayouts()
{
    Q_INIT_RESOURCE(layouts);
}

namespace rur::correspondence {

namespace {

report::ReportLayout layoutNamed(const QString &name)
{
    initCorrespondenceLayouts();
    // Read once per run; every printout works on its own copy.
    static QHash<QString, report::ReportLayout> loaded;
    if (!loaded.contains(name))
        loaded.insert(name, report::loadLayout(u":/layouts/"_s + name + u".json"_s));
    return loaded.value(name);
}

// The offsets of Mtt in millimetres (0 when it has no row).
std::pair<int, int> offsetsOf(data::TDM1 &dm, const QString &top, const QString &left)
{
    engine::Table &mtt = *dm.Mtt;
    if (!mtt.isActive() || mtt.isEmpty())
        return {0, 0};
    return {mtt.field(top).asInteger(), mtt.field(left).asInteger()};
}

void setOffsets(report::Report &r, int topMm, int leftMm)
{
    r.setPageHeaderHeight(report::headerHeightFromMm(topMm));
    r.setLeftMarginMm(leftMm);
}

}  // namespace

QStringList memoLines(const QString &text)
{
    QString normalised = text;
    normalised.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
    if (normalised.endsWith(u'\n'))
        normalised.chop(1);
    if (normalised.isEmpty() && !text.contains(u'\n'))
        return {};
    return normalised.split(u'\n');
}

DocumentReport::DocumentReport(data::TDM1 &dm, const Document &document)
    : report::Report(layoutNamed(document.letter ? u"Rdpx2"_s : u"Rdpx1"_s)), prp_(*dm.Prp)
{
    document_.setRows({QVariantMap{{u"Nazev"_s, document.nazev},
                                   {u"Rd1"_s, document.rd1},
                                   {u"Rd2"_s, document.rd2},
                                   {u"Typ"_s, document.letter},
                                   {u"Text"_s, document.text}}});
    setDataSource(u"Mdp"_s, &document_);
    setDataSource(u"Prp"_s, &prp_);

    const QStringList lines = memoLines(document.text);
    const int textHeight = int(lines.size()) * kDocumentLineHeight;
    report::ReportItem *memo = item(u"QRMemoText"_s);
    report::ReportBand *detail = layout().band(report::BandKind::Detail);
    if (!memo || !detail)
        throw report::ReportError(u"Popis sestavy "_s + layout().name + u" nemá text dokumentu."_s);
    memo->text = lines.join(u'\n');
    memo->height = textHeight + 5;
    detail->height = textHeight + (document.letter ? 137 : 75);
    // A letter without a subject prints no "Věc:".
    if (document.letter && document.rd2.isEmpty())
        setLabelText(u"QRLabelVec"_s, QString());
}

void DocumentReport::applyOffsets(int topMm, int leftMm)
{
    setOffsets(*this, topMm, leftMm);
}

std::optional<report::PreparedReport> prepareDocument(data::TDM1 &dm, platform::Prompter &prompter, int typPisma,
                                                      const std::optional<QString> &nazev)
{
    engine::Table &mtt = *dm.Mtt;
    const QString name = nazev ? *nazev : (mtt.isActive() && !mtt.isEmpty() ? mtt.field(u"Nazev"_s).asString() : QString());
    const std::optional<Document> document = findDocument(dm, name);
    if (!document) {
        prompter.information(missingDocumentMessage(name));
        return std::nullopt;
    }
    DocumentReport r(dm, *document);
    if (typPisma == 1)
        report::PrevodPisma1(r.layout());
    const auto [top, left] = offsetsOf(dm, u"Vh"_s, u"Vl"_s);
    r.applyOffsets(top, left);
    return r.prepare();
}

bool senderShown(const QString &obl)
{
    return obl != QString::fromUtf16(kWithoutSender);
}

bool registeredMarkShown(const QString &obl)
{
    return obl != QString::fromUtf16(kWithoutSender) && obl != QString::fromUtf16(kWithSender);
}

std::unique_ptr<engine::Table> openMarkedAddresses(data::TDM1 &dm)
{
    auto query = std::make_unique<engine::Table>(&dm.Danove, data::mazDef());
    query->setSelectStatement(u"Select * from Maz\n  where O = True\norder by Fa"_s);
    query->onCalcFields = calculateAddress;
    query->open();
    return query;
}

EnvelopeReport::EnvelopeReport(data::TDM1 &dm, Envelope size, engine::Table &addresses)
    : report::Report(layoutNamed(size == Envelope::DL ? u"Rcdl"_s : u"Rc5"_s)), addresses_(addresses), mtt_(*dm.Mtt)
{
    setDataSource(u"Maz"_s, &addresses_);
    setDataSource(u"Mtt"_s, &mtt_);
    engine::Table &mtt = *dm.Mtt;
    const QString obl = mtt.isActive() && !mtt.isEmpty() ? mtt.field(u"Obl"_s).asString() : QString();
    for (const char16_t *name : {u"QRDBTextOdFa", u"QRDBTextOdUl", u"QRDBTextOdPsc1", u"QRDBTextOdMi"})
        if (report::ReportItem *i = item(QString::fromUtf16(name)))
            i->visible = senderShown(obl);
    if (report::ReportItem *mark = item(u"QRLabelDoporucene"_s))
        mark->visible = registeredMarkShown(obl);
}

void EnvelopeReport::applyOffsets(int topMm, int leftMm)
{
    setOffsets(*this, topMm, leftMm);
}

std::optional<report::PreparedReport> prepareEnvelopes(data::TDM1 &dm, platform::Prompter &prompter, Envelope size,
                                                       int typPisma)
{
    const std::unique_ptr<engine::Table> addresses = openMarkedAddresses(dm);
    if (addresses->isEmpty()) {
        prompter.information(QString::fromUtf16(kNoAddressMarked));
        return std::nullopt;
    }
    EnvelopeReport r(dm, size, *addresses);
    if (typPisma == 1)
        report::PrevodPisma1(r.layout());
    const auto [top, left] = offsetsOf(dm, u"Vho"_s, u"Vlo"_s);
    r.applyOffsets(top, left);
    return r.prepare();
}

}  // namespace rur::correspondence

namespace rur::correspondence {

std::optional<Printout> printoutNamed(const QString &name)
{
    const std::pair<const char16_t *, Printout> names[] = {{u"dopis", Printout::Letter},
                                                           {u"priloha", Printout::Attachment},
                                                           {u"obalky-dl", Printout::EnvelopeDL},
                                                           {u"obalky-c5", Printout::EnvelopeC5}};
    for (const auto &[n, printout] : names)
        if (name.compare(QString::fromUtf16(n), Qt::CaseInsensitive) == 0)
            return printout;
    return std::nullopt;
}

std::optional<report::PreparedReport> preparePrintout(data::TDM1 &dm, platform::Prompter &prompter, Printout printout,
                                                      int typPisma, const std::optional<QString> &nazev)
{
    switch (printout) {
    case Printout::EnvelopeDL: return prepareEnvelopes(dm, prompter, Envelope::DL, typPisma);
    case Printout::EnvelopeC5: return prepareEnvelopes(dm, prompter, Envelope::C5, typPisma);
    case Printout::Letter:
    case Printout::Attachment: break;
    }
    engine::Table &mtt = *dm.Mtt;
    const QString name = nazev ? *nazev : (mtt.isActive() && !mtt.isEmpty() ? mtt.field(u"Nazev"_s).asString() : QString());
    const std::optional<Document> document = findDocument(dm, name);
    const bool letter = printout == Printout::Letter;
    if (document && document->letter != letter) {
        prompter.error(u"Dokument „"_s + name + (letter ? u"“ je příloha, ne dopis."_s : u"“ je dopis, ne příloha."_s));
        return std::nullopt;
    }
    return prepareDocument(dm, prompter, typPisma, name);
}

}  // namespace rur::correspondence
