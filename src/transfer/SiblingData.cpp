#include "transfer/SiblingData.h"

#include "data/DateInput.h"
#include "engine/EngineError.h"
#include "platform/Prompter.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace rur::transfer {

using engine::EngineError;
using engine::Table;

SiblingData::SiblingData(SiblingKind kind, std::function<QDate()> today) : program_(siblingProgram(kind))
{
    catalogue_ = std::make_unique<Table>(&root_, siblingCatalogueDef());
    taxpayer_ = std::make_unique<Table>(&set_, siblingTaxpayerDef(kind));
    catalogue_->setReadOnly(true);
    taxpayer_->setReadOnly(true);
    if (kind != SiblingKind::Journal)
        return;
    entries_ = std::make_unique<Table>(&set_, journalEntriesReadDef());
    entries_->setReadOnly(true);
    period_ = std::make_unique<Table>(&set_, journalPeriodDef());
    period_->beforePost = [](Table &t) {
        const QString problem = journalPeriodProblem(t.field(u"Dz"_s).value(), t.field(u"Dk"_s).value());
        if (!problem.isEmpty())
            RUR_THROW(engine::ErrGeneral, problem);
    };
    data::attachDateInput({period_.get()}, today ? std::move(today) : [] { return QDate::currentDate(); });
}

SiblingData::~SiblingData()
{
    close();
}

void SiblingData::fail(const QString &why)
{
    problem_ = why;
    close();
}

bool SiblingData::show(const QString &catalogueFile, int number)
{
    close();
    problem_.clear();
    // A relative or empty path would name the program's own current folder.
    if (catalogueFile.trimmed().isEmpty() || !QDir::isAbsolutePath(catalogueFile)) {
        fail(u"Cesta "_s + catalogueFile + u" není úplná."_s);
        return false;
    }
    root_.setDirectory(QFileInfo(catalogueFile).absolutePath());
    try {
        catalogue_->open();
        if (catalogue_->isEmpty())
            RUR_THROW(engine::ErrGeneral, u"Tabulka Data.DB neobsahuje žádný řádek."_s);
        if (!catalogue_->locate(u"Cislo"_s, {number}))
            catalogue_->first();
    } catch (const EngineError &e) {
        fail(e.message());
        return false;
    }
    if (!openCurrentRow()) {
        const QString why = problem_;
        fail(why);
        return false;
    }
    return true;
}

bool SiblingData::openCurrentRow()
{
    closeRow();
    problem_.clear();
    const QString folder = catalogue_->isActive() ? catalogue_->field(u"Adresar"_s).asString() : QString();
    if (!isSiblingFolderName(folder)) {
        problem_ = u"Adresář "_s + folder + u" není platný adresář dat."_s;
        return false;
    }
    set_.setDirectory(root_.directory() + folder);
    try {
        taxpayer_->open();
        if (period_) {
            // Every field of the settings row must be there and fit its type, although only
            // the period is written back (through a cursor over those two fields alone).
            Table settings(&set_, journalSettingsDef());
            settings.setReadOnly(true);
            settings.open();
            if (settings.isEmpty())
                RUR_THROW(engine::ErrGeneral, u"Tabulka Dmt.DB neobsahuje žádný řádek."_s);
            settings.close();
            try {
                period_->open();
            } catch (const EngineError &e) {
                // A journal the user may not write is still shown; its period can't change.
                if (e.code() != engine::ErrReadOnly)
                    throw;
                periodReadOnly_ = e.message();
                period_->setReadOnly(true);
                period_->open();
            }
        } else if (taxpayer_->isEmpty()) {
            RUR_THROW(engine::ErrGeneral, u"Tabulka "_s + taxpayer_->fileName() + u" neobsahuje žádný řádek."_s);
        }
    } catch (const EngineError &e) {
        problem_ = e.message();
        closeRow();
        return false;
    }
    return true;
}

void SiblingData::closeRow()
{
    periodReadOnly_.clear();
    taxpayer_->close();
    if (period_) {
        period_->close();
        period_->setReadOnly(false);
        entries_->close();
    }
    set_.disconnect();
}

void SiblingData::close()
{
    closeRow();
    catalogue_->close();
    root_.disconnect();
}

Table &SiblingData::openEntries()
{
    if (!entries_ || !isRowOpen())
        RUR_THROW(engine::ErrGeneral, program_.showFailed);
    entries_->close();
    entries_->open();
    // The fields the transfer doesn't read must be there all the same.
    const QStringList columns = entries_->fileColumns();
    for (const engine::FieldDef &field : journalEntriesDef().storedFields())
        if (!columns.contains(field.name, Qt::CaseInsensitive)) {
            entries_->close();
            RUR_THROW(engine::ErrFieldMissing, u"Tabulka "_s + entries_->fileName() + u" nemá pole "_s + field.name + u'.');
        }
    return *entries_;
}

int SiblingData::currentNumber() const
{
    return catalogue_->isActive() && !catalogue_->isEmpty() ? catalogue_->field(u"Cislo"_s).asInteger() : 0;
}

QString journalPeriodProblem(const QVariant &from, const QVariant &to)
{
    if (from.isNull() || to.isNull())
        return u"Zadejte datum."_s;
    if (from.toDate() > to.toDate())
        return u"Datum konec období nemůže být menší než datum začátek období."_s;
    return {};
}

bool saveJournalPeriod(Table &period, platform::Prompter &prompter)
{
    if (!period.isEditing())
        return true;
    const QString problem = journalPeriodProblem(period.field(u"Dz"_s).value(), period.field(u"Dk"_s).value());
    if (!problem.isEmpty()) {
        prompter.information(problem);
        return false;
    }
    try {
        period.post();
    } catch (const EngineError &e) {
        prompter.error(e.message());
        return false;
    }
    return true;
}

bool isSiblingFolderName(const QString &name)
{
    if (name.isEmpty() || name == u"."_s || name == u".."_s || name.contains(u'/') || name.contains(u'\\'))
        return false;
    for (const QChar c : name)
        if (c.category() == QChar::Other_Control)
            return false;
    return true;
}

}  // namespace rur::transfer
