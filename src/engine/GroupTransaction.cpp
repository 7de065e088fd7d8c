#include "engine/GroupTransaction.h"

#include "engine/EngineError.h"
#include "engine/Sqlite.h"
#include "engine/Table.h"
#include "engine/TableFile.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace rur::engine {

GroupTransaction::GroupTransaction(const QList<Table *> &tables, int waitMs)
{
    for (Table *t : tables)
        if (t && !tables_.contains(t))
            tables_.append(t);
    if (tables_.isEmpty())
        return;
    if (tables_.size() > kMaxTables)
        RUR_THROW(ErrGeneral, u"Příliš mnoho tabulek v jedné změně."_s);
    for (Table *t : std::as_const(tables_)) {
        if (t->grouped())
            RUR_THROW(ErrGeneral, u"Tabulka "_s + t->fileName() + u" už je součástí jiné změny."_s);
        if (t->isActive())
            t->checkBrowseMode();
        // Attaching a missing file would create an empty one.
        if (!QFileInfo(t->filePath()).isFile())
            t->throwOpenError(ErrFileMissing, {});
    }
    auto db = std::make_unique<SqliteFile>();
    QString error;
    if (!db->open(tables_.first()->filePath(), false, &error))
        tables_.first()->throwOpenError(ErrUnreadable, error);
    db->setBusyTimeout(waitMs);
    for (int i = 1; i < tables_.size(); ++i) {
        Statement attach(*db, u"ATTACH DATABASE ? AS "_s + quoteIdentifier(u"t%1"_s.arg(i)));
        attach.bind(1, tables_[i]->filePath());
        attach.step();
    }
    // Immediate: every attached file is locked for writing now, so no other writer changes
    // what the procedure reads before it writes.
    db->exec(u"BEGIN IMMEDIATE"_s);
    db_ = std::move(db);
    for (int i = 0; i < tables_.size(); ++i) {
        tables_[i]->groupDb_ = db_.get();
        tables_[i]->groupSchema_ = i == 0 ? u"main"_s : u"t%1"_s.arg(i);
    }
}

GroupTransaction::~GroupTransaction()
{
    if (!db_)
        return;
    if (!done_) {
        try {
            db_->exec(u"ROLLBACK"_s);
        } catch (...) {
        }
    }
    release();
}

void GroupTransaction::commit()
{
    if (!db_ || done_)
        return;
    for (Table *t : std::as_const(tables_))
        if (t->isActive())
            t->checkBrowseMode();
    crashPoint("group:before-commit");
    db_->exec(u"COMMIT"_s);
    done_ = true;
    crashPoint("group:after-commit");
    release();
}

// Hands every table back its own connection and lets it read its rows as they now are.
void GroupTransaction::release()
{
    for (Table *t : std::as_const(tables_)) {
        t->groupDb_ = nullptr;
        t->groupSchema_.clear();
    }
    db_.reset();
    for (Table *t : std::as_const(tables_)) {
        if (!t->isActive())
            continue;
        try {
            if (t->isEditing())
                t->cancel();
            if (!t->db_) {
                auto own = std::make_unique<SqliteFile>();
                QString error;
                if (!own->open(t->filePath(), false, &error, t->fileReadOnly_))
                    RUR_THROW(ErrUnreadable, error);
                t->db_ = std::move(own);
            }
            t->refresh();
        } catch (const EngineError &) {
            t->close();  // a table that can't be read again is not shown stale
        }
    }
    tables_.clear();
}

}  // namespace rur::engine
