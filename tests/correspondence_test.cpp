// The address book, the documents and their printouts without windows: the hooks of Maz and
// Mdp, the duplicate of a document, the letter and the attachment with their text lines, the
// envelopes of the marked addresses, and rur-cli writing them as PDF.
#include "base/Directories.h"
#include "correspondence/AddressBook.h"
#include "correspondence/Documents.h"
#include "correspondence/Printouts.h"
#include "data/DataM1.h"
#include "datasets/DataSetAccess.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "platform/Prompter.h"
#include "print/PrintJobs.h"
#include "report/ReportLayout.h"
#include "support/filled_return.h"
#include "support/gui_app.h"
#include "support/pdf_text.h"
#include "support/run_cli.h"
#include "support/test_root.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using correspondence::Envelope;
using platform::ScriptedPrompter;
using rur::testing::cli;
using rur::testing::CliResult;
using rur::testing::setRow;

namespace {

class Correspondence : public ::testing::Test {
protected:
    void SetUp() override
    {
        rur::testing::ensureGuiApplication();
        ASSERT_TRUE(root.valid());
        rur::testing::openNewDataSet(root, dirs, dm);
        if (!dm.Maz->isActive())
            dm.Maz->open();
    }

    void addAddress(const QString &fa, bool marked, const QString &psc = u"11000"_s)
    {
        engine::Table &maz = *dm.Maz;
        maz.append();
        maz.field(u"Fa"_s).setValue(fa);
        maz.field(u"Jm"_s).setValue(u"k rukám "_s + fa);
        maz.field(u"Ul"_s).setValue(u"Dlouhá 5"_s);
        maz.field(u"Psc"_s).setValue(psc);
        maz.field(u"Mi"_s).setValue(u"Praha"_s);
        maz.field(u"O"_s).setValue(marked);
        maz.post();
    }

    void addDocument(const QString &nazev, bool letter, const QString &text, const QString &rd2 = u"Přiznání"_s)
    {
        engine::Table &mdp = *dm.Mdp;
        mdp.append();
        mdp.field(u"Nazev"_s).setValue(nazev);
        mdp.field(u"Rd1"_s).setValue(u"Finanční úřad pro Prahu 1"_s);
        mdp.field(u"Rd2"_s).setValue(rd2);
        mdp.field(u"Typ"_s).setValue(letter);
        mdp.field(u"Text"_s).setValue(text);
        mdp.post();
    }

    static QString numberedLines(int count)
    {
        QStringList lines;
        for (int i = 1; i <= count; ++i)
            lines.append(u"řádek %1"_s.arg(i));
        return lines.join(u'\n');
    }

    rur::testing::TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
    ScriptedPrompter prompter;
};

}  // namespace

TEST_F(Correspondence, AddressesStartUnmarkedAndPrintTheirPostalCodeByCharacterPositions)
{
    engine::Table &maz = *dm.Maz;
    maz.append();
    EXPECT_FALSE(maz.field(u"O"_s).asBoolean());
    EXPECT_FALSE(maz.field(u"O"_s).isNull());
    maz.cancel();
    addAddress(u"Úřad"_s, true, u"12345"_s);
    EXPECT_EQ(maz.field(u"Psc1"_s).asString(), u"123 45"_s);
    // Typed with a blank it is cut by position, as the printed form shows it.
    setRow(maz, {{u"Psc"_s, u"123 45"_s}});
    EXPECT_EQ(maz.field(u"Psc1"_s).asString(), u"123  4"_s);
    setRow(maz, {{u"Psc"_s, QVariant()}});
    EXPECT_EQ(maz.field(u"Psc1"_s).asString(), QString());
    EXPECT_EQ(correspondence::printMarkCaption(true), u"ano"_s);
    EXPECT_EQ(correspondence::printMarkCaption(false), u"ne"_s);
}

TEST_F(Correspondence, DocumentNamesAreUniqueAndRequiredAndNothingIsHalfSaved)
{
    engine::Table &mdp = *dm.Mdp;
    mdp.append();
    EXPECT_TRUE(mdp.field(u"Typ"_s).asBoolean());  // a new document is a letter
    mdp.cancel();
    addDocument(u"Průvodní dopis"_s, true, u"Dobrý den"_s);
    const QMap<QString, QByteArray> before = rur::testing::snapshot(root.dataSet());

    mdp.append();
    mdp.field(u"Nazev"_s).setValue(u"Průvodní dopis"_s);
    mdp.field(u"Text"_s).setValue(u"jiný text"_s);
    try {
        mdp.post();
        FAIL() << "a second document of the same name was stored";
    } catch (const engine::EngineError &e) {
        EXPECT_EQ(e.code(), engine::ErrKeyViolation);
        EXPECT_EQ(e.message(), u"Duplicitní klíč - název"_s);
    }
    EXPECT_EQ(mdp.state(), engine::Table::State::Insert);  // the row stays in edit
    mdp.field(u"Nazev"_s).setValue(u"   "_s);
    try {
        mdp.post();
        FAIL() << "a document without a name was stored";
    } catch (const engine::EngineError &e) {
        EXPECT_EQ(e.message(), u"Zadejte název dokumentu."_s);
    }
    EXPECT_EQ(mdp.state(), engine::Table::State::Insert);
    mdp.cancel();
    EXPECT_EQ(rur::testing::snapshot(root.dataSet()).value(u"Mdp.DB"_s), before.value(u"Mdp.DB"_s));
    EXPECT_EQ(mdp.recordCount(), 1);
}

TEST_F(Correspondence, DuplicatingCopiesTheDocumentIntoANewUnnamedRow)
{
    const QString text = u"první řádek\ndruhý řádek"_s;
    addDocument(u"Příloha 1"_s, false, text, u"1"_s);
    engine::Table &mdp = *dm.Mdp;

    prompter.answers = {platform::Prompter::Answer::No};
    EXPECT_FALSE(correspondence::Duplikace(dm, prompter));
    EXPECT_EQ(mdp.state(), engine::Table::State::Browse);

    EXPECT_TRUE(correspondence::Duplikace(dm, prompter));
    EXPECT_EQ(prompter.texts().last(), u"Duplikovat tento dokument ?"_s);
    ASSERT_EQ(mdp.state(), engine::Table::State::Insert);
    EXPECT_TRUE(mdp.field(u"Nazev"_s).isNull());
    EXPECT_FALSE(mdp.field(u"Typ"_s).asBoolean());
    EXPECT_EQ(mdp.field(u"Rd2"_s).asString(), u"1"_s);
    EXPECT_EQ(mdp.field(u"Text"_s).asString(), text);
    // Saved under the same name it is refused; under a new one both are kept.
    mdp.field(u"Nazev"_s).setValue(u"Příloha 1"_s);
    EXPECT_THROW(mdp.post(), engine::EngineError);
    mdp.field(u"Nazev"_s).setValue(u"Příloha 2"_s);
    mdp.post();
    EXPECT_EQ(mdp.recordCount(), 2);
    EXPECT_EQ(correspondence::findDocument(dm, u"Příloha 2"_s)->text, text);
}

TEST_F(Correspondence, TextOutsideWindows1250IsKeptInTheTable)
{
    const QString text = u"Ελληνικά Жук ∑ — 😀\nřádek 2"_s;
    addDocument(u"Unicode"_s, true, text);
    dm.Mdp->close();
    dm.Mdp->open();
    ASSERT_TRUE(correspondence::findDocument(dm, u"Unicode"_s));
    EXPECT_EQ(correspondence::findDocument(dm, u"Unicode"_s)->text, text);
    const auto prepared = correspondence::prepareDocument(dm, prompter, 0, u"Unicode"_s);
    ASSERT_TRUE(prepared);
    EXPECT_EQ(prepared->find(u"QRMemoText"_s)->text, text);
}

TEST_F(Correspondence, LetterAndAttachmentBandsFollowTheNumberOfLines)
{
    addDocument(u"Dopis"_s, true, numberedLines(10) + u'\n');  // a last line break adds no line
    addDocument(u"Příloha"_s, false, numberedLines(10), u"2"_s);
    correspondence::DocumentReport letter(dm, *correspondence::findDocument(dm, u"Dopis"_s));
    EXPECT_EQ(letter.item(u"QRMemoText"_s)->height, 215);
    EXPECT_EQ(letter.layout().band(report::BandKind::Detail)->height, 347);
    correspondence::DocumentReport attachment(dm, *correspondence::findDocument(dm, u"Příloha"_s));
    EXPECT_EQ(attachment.item(u"QRMemoText"_s)->height, 215);
    EXPECT_EQ(attachment.layout().band(report::BandKind::Detail)->height, 285);
    EXPECT_EQ(correspondence::memoLines(QString()), QStringList());
    EXPECT_EQ(correspondence::memoLines(u"\n"_s), QStringList{QString()});

    // The letter from Mtt.Nazev with the offsets Vh 10 mm (a header of 38 units), Vl 5 mm.
    setRow(*dm.Mtt, {{u"Nazev"_s, u"Dopis"_s}, {u"Vh"_s, 10}, {u"Vl"_s, 5}});
    auto prepared = correspondence::prepareDocument(dm, prompter, 0);
    ASSERT_TRUE(prepared);
    EXPECT_EQ(prepared->caption, u"Dopis"_s);
    const double left = 5 * 96 / 25.4;
    const report::PlacedItem *memo = prepared->find(u"QRMemoText"_s);
    EXPECT_EQ(memo->text.split(u'\n').size(), 10);
    EXPECT_NEAR(memo->rect.left(), 1 + left, 1e-9);
    EXPECT_DOUBLE_EQ(memo->rect.top(), 38 + 132);
    EXPECT_DOUBLE_EQ(memo->lineHeight, 21);
    EXPECT_NEAR(prepared->find(u"QRDBTextRd1"_s)->rect.right(), 663 + left, 1e-9);
    EXPECT_EQ(prepared->find(u"QRLabelVec"_s)->text, u"Věc:"_s);
    EXPECT_DOUBLE_EQ(prepared->find(u"QRDBTextRd2"_s)->rect.top(), 38 + 90);
    EXPECT_TRUE(prepared->find(u"QRDBTextRd2"_s)->font.underline);

    // A letter without a subject prints no "Věc:".
    ASSERT_TRUE(dm.Mdp->locate(u"Nazev"_s, {u"Dopis"_s}));
    setRow(*dm.Mdp, {{u"Rd2"_s, QVariant()}});
    prepared = correspondence::prepareDocument(dm, prompter, 0);
    EXPECT_EQ(prepared->find(u"QRLabelVec"_s)->text, QString());

    // The attachment with the taxpayer's year, period and tax number.
    setRow(*dm.Prp, {{u"R"_s, u"2018"_s}, {u"Dic"_s, u"CZ12345678"_s}});
    prepared = correspondence::prepareDocument(dm, prompter, 1, u"Příloha"_s);
    EXPECT_EQ(prepared->caption, u"Příloha"_s);
    EXPECT_EQ(prepared->find(u"QRLabelPriloha"_s)->text, u"Příloha k přiznání k RUR za rok"_s);
    EXPECT_EQ(prepared->find(u"QRDBTextR"_s)->text, u"2018"_s);
    EXPECT_EQ(prepared->find(u"QRDBTextDic"_s)->text, u"CZ12345678"_s);
    EXPECT_EQ(prepared->find(u"QRDBTextRd2"_s)->text, u"2"_s);
    EXPECT_DOUBLE_EQ(prepared->find(u"QRMemoText"_s)->rect.top(), 38 + 70);
    EXPECT_EQ(prepared->find(u"QRMemoText"_s)->font.family, u"Arial CE"_s);
    // The label and the year do not run into each other.
    EXPECT_LT(prepared->find(u"QRLabelPriloha"_s)->rect.right(), prepared->find(u"QRDBTextR"_s)->rect.left());
    EXPECT_LT(prepared->find(u"QRLabelCislo"_s)->rect.right(), prepared->find(u"QRDBTextRd2"_s)->rect.left());

    // A name that no document has prints nothing and says so.
    EXPECT_FALSE(correspondence::prepareDocument(dm, prompter, 0, u"Není"_s));
    EXPECT_EQ(prompter.texts().last(), u"Dokument „Není“ v tabulce dokumentů není."_s);
}

TEST_F(Correspondence, ALongLetterBreaksOntoFurtherPagesWithoutLosingALine)
{
    addDocument(u"Dlouhý"_s, true, numberedLines(500));
    const auto prepared = correspondence::prepareDocument(dm, prompter, 0, u"Dlouhý"_s);
    ASSERT_TRUE(prepared);
    const QList<const report::PlacedItem *> pieces = prepared->findAll(u"QRMemoText"_s);
    ASSERT_GT(prepared->pageCount(), 10);
    EXPECT_EQ(pieces.size(), prepared->pageCount());
    QStringList printed;
    const double pageBottom = prepared->pageSizeUnits.height() - 15 * 96 / 25.4;  // the bottom margin
    for (const report::PlacedItem *p : pieces) {
        const QStringList lines = p->text.split(u'\n');
        printed += lines;
        EXPECT_LE(p->rect.top() + lines.size() * p->lineHeight, pageBottom + 1e-6);
    }
    EXPECT_EQ(printed.join(u'\n'), numberedLines(500));
}

TEST_F(Correspondence, EnvelopesGoToTheMarkedAddressesInNameOrder)
{
    // None marked: the message, nothing to print.
    addAddress(u"Zdeněk"_s, false);
    EXPECT_FALSE(correspondence::prepareEnvelopes(dm, prompter, Envelope::DL, 0));
    EXPECT_EQ(prompter.texts().last(), u"V adresáři není vybrána žadná adresa pro tisk."_s);

    addAddress(u"Cyril"_s, true);
    addAddress(u"Adam"_s, true, u"12345"_s);
    addAddress(u"Bára"_s, true);
    setRow(*dm.Mtt, {{u"Fa"_s, u"Jan Novák"_s}, {u"Psc"_s, u"60200"_s}, {u"Obl"_s, QString::fromUtf16(correspondence::kWithSenderRegistered)}});
    auto dl = correspondence::prepareEnvelopes(dm, prompter, Envelope::DL, 0);
    ASSERT_TRUE(dl);
    ASSERT_EQ(dl->pageCount(), 3);
    EXPECT_EQ(dl->orientation, QPageLayout::Landscape);
    const QStringList names{u"Adam"_s, u"Bára"_s, u"Cyril"_s};
    for (int page = 0; page < 3; ++page) {
        EXPECT_EQ(dl->find(u"QRDBTextFa"_s, page)->text, names[page]);
        EXPECT_DOUBLE_EQ(dl->find(u"QRDBTextFa"_s, page)->rect.top(), 224);
        EXPECT_EQ(dl->find(u"QRDBTextOdFa"_s, page)->text, u"Jan Novák"_s);
        EXPECT_NE(dl->find(u"QRLabelDoporucene"_s, page), nullptr);
    }
    EXPECT_EQ(dl->find(u"QRDBTextPsc1"_s, 0)->text, u"123 45"_s);
    EXPECT_EQ(dl->find(u"QRDBTextOdPsc1"_s, 0)->text, u"602 00"_s);

    // With the sender but not registered; C5 puts the recipient lower; offsets Vho and Vlo.
    setRow(*dm.Mtt, {{u"Obl"_s, QString::fromUtf16(correspondence::kWithSender)}, {u"Vho"_s, 10}, {u"Vlo"_s, 0}});
    auto c5 = correspondence::prepareEnvelopes(dm, prompter, Envelope::C5, 0);
    ASSERT_TRUE(c5);
    EXPECT_EQ(c5->find(u"QRLabelDoporucene"_s), nullptr);
    EXPECT_NE(c5->find(u"QRDBTextOdFa"_s), nullptr);
    EXPECT_DOUBLE_EQ(c5->find(u"QRDBTextMi"_s)->rect.top(), 38 + 443);
    EXPECT_DOUBLE_EQ(c5->find(u"QRDBTextMi"_s)->rect.left(), 476);

    // Without the sender: neither the block nor the mark.
    setRow(*dm.Mtt, {{u"Obl"_s, QString::fromUtf16(correspondence::kWithoutSender)}});
    dl = correspondence::prepareEnvelopes(dm, prompter, Envelope::DL, 0);
    for (const char16_t *item : {u"QRDBTextOdFa", u"QRDBTextOdUl", u"QRDBTextOdPsc1", u"QRDBTextOdMi", u"QRLabelDoporucene"})
        EXPECT_EQ(dl->find(QString::fromUtf16(item)), nullptr) << QString::fromUtf16(item).toStdString();

    // "Z&rušit vše" and "&Vybrat vše" over the whole book.
    print::markAllAddresses(dm, false);
    EXPECT_FALSE(correspondence::prepareEnvelopes(dm, prompter, Envelope::C5, 0));
    print::markAllAddresses(dm, true);
    EXPECT_EQ(correspondence::prepareEnvelopes(dm, prompter, Envelope::C5, 0)->pageCount(), 4);
}

TEST_F(Correspondence, RurCliKeepsDocumentsAndAddressesAndWritesTheirPdf)
{
    dm.closeAll();
    const QString text = u"Vážení,\nzasíláme přiznání.\nŽuk Ωmega"_s;
    CliResult r = cli({u"--root"_s, root.path(), u"set"_s, u"D1"_s, u"Mdp"_s, u"Nazev=Průvodní"_s,
                       u"Rd1=Finanční úřad"_s, u"Rd2=Přiznání"_s, u"Text="_s + text});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = cli({u"--root"_s, root.path(), u"show"_s, u"D1"_s, u"Mdp"_s});
    EXPECT_TRUE(r.out.contains(u"zasíláme přiznání.\\nŽuk Ωmega"_s)) << r.out.toStdString();
    r = cli({u"--root"_s, root.path(), u"set"_s, u"D1"_s, u"Maz"_s, u"Fa=Finanční úřad"_s, u"Psc=11000"_s, u"O=1"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = cli({u"--root"_s, root.path(), u"show"_s, u"D1"_s, u"Maz"_s});
    EXPECT_TRUE(r.out.contains(u"\"Psc1\": \"110 00\""_s)) << r.out.toStdString();

    // Further rows as the windows add them: a letter by default, an unmarked address; a name
    // that exists is refused and the table stays as it was.
    r = cli({u"--root"_s, root.path(), u"append"_s, u"D1"_s, u"Mdp"_s, u"Nazev=Druhý"_s, u"Text=a\nb"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = cli({u"--root"_s, root.path(), u"append"_s, u"D1"_s, u"Mdp"_s, u"Nazev=Druhý"_s, u"Text=jiný"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"Duplicitní klíč - název"_s)) << r.err.toStdString();
    r = cli({u"--root"_s, root.path(), u"append"_s, u"D1"_s, u"Maz"_s, u"Fa=Úřad práce"_s, u"P=poznámka\ndruhá"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    {
        data::TDM1 check;
        datasets::openDataSet(check, dirs, u"D1"_s);
        EXPECT_EQ(correspondence::findDocument(check, u"Druhý"_s)->text, u"a\nb"_s);
        EXPECT_TRUE(correspondence::findDocument(check, u"Druhý"_s)->letter);
        check.Maz->open();
        ASSERT_TRUE(check.Maz->locate(u"Fa"_s, {u"Úřad práce"_s}));
        EXPECT_FALSE(check.Maz->field(u"O"_s).asBoolean());
        EXPECT_EQ(check.Maz->field(u"P"_s).asString(), u"poznámka\ndruhá"_s);
        check.closeAll();
    }

    QTemporaryDir out;
    const QString letterPdf = out.filePath(u"dopis.pdf"_s);
    r = cli({u"--root"_s, root.path(), u"print"_s, u"D1"_s, u"dopis"_s, u"--name"_s, u"Průvodní"_s, u"--pdf"_s, letterPdf});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const rur::testing::PdfText letter(letterPdf);
    ASSERT_TRUE(letter.valid()) << letter.error().toStdString();
    ASSERT_EQ(letter.pageCount(), 1);
    // The text lines 21 units apart from the top of the text block (132), in points.
    const auto top = [&](const QString &word) {
        for (const rur::testing::PdfWord &w : letter.words(0))
            if (w.text == word)
                return w.box.top();
        return -1.0;
    };
    ASSERT_GT(top(u"Vážení,"_s), 0);
    EXPECT_NEAR(top(u"Vážení,"_s), 132 * 0.75, 3.0);
    EXPECT_NEAR(top(u"zasíláme"_s) - top(u"Vážení,"_s), 21 * 0.75, 0.5);
    EXPECT_NEAR(top(u"Ωmega"_s) - top(u"Vážení,"_s), 42 * 0.75, 0.5);
    EXPECT_GT(top(u"Žuk"_s), 0);

    // The document is a letter: as an attachment it is refused; an unknown name too.
    r = cli({u"--root"_s, root.path(), u"print"_s, u"D1"_s, u"priloha"_s, u"--name"_s, u"Průvodní"_s, u"--pdf"_s,
             out.filePath(u"p.pdf"_s)});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"je dopis, ne příloha"_s)) << r.err.toStdString();
    r = cli({u"--root"_s, root.path(), u"print"_s, u"D1"_s, u"dopis"_s, u"--name"_s, u"Jiný"_s, u"--pdf"_s,
             out.filePath(u"p.pdf"_s)});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(QFile::exists(out.filePath(u"p.pdf"_s)));

    const QString envelopesPdf = out.filePath(u"obálky.pdf"_s);
    r = cli({u"--root"_s, root.path(), u"print"_s, u"D1"_s, u"obalky-dl"_s, u"--pdf"_s, envelopesPdf});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const rur::testing::PdfText envelopes(envelopesPdf);
    ASSERT_EQ(envelopes.pageCount(), 1);
    EXPECT_GT(envelopes.pageSize(0).width(), envelopes.pageSize(0).height());  // landscape
    r = cli({u"--root"_s, root.path(), u"set"_s, u"D1"_s, u"Maz"_s, u"O=0"_s});
    r = cli({u"--root"_s, root.path(), u"print"_s, u"D1"_s, u"obalky-c5"_s, u"--pdf"_s, out.filePath(u"c5.pdf"_s)});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"V adresáři není vybrána žadná adresa pro tisk."_s)) << r.err.toStdString();
}
