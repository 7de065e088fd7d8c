#pragma once

#include "engine/Database.h"
#include "engine/Table.h"

#include <QObject>
#include <QString>
#include <memory>

namespace rur::data {

using engine::Table;

// What the data module shows in the main window: the caption and the status-bar panels.
class StatusDisplay {
public:
    virtual ~StatusDisplay() = default;
    virtual void setStatusText(int panel, const QString &text) = 0;
    virtual void setCaption(const QString &caption) = 0;
};

// The data module: owns every table of the open data set, their hooks, and the routines
// that open, repair and refresh them.
class TDM1 : public QObject {
    Q_OBJECT

public:
    explicit TDM1(QObject *parent = nullptr);
    ~TDM1() override;

    // The database alias of the current data-set directory.
    engine::Database Danove{QStringLiteral("Danove")};

    // Tables of a data set, named as the program names them.
    std::unique_ptr<Table> Dcis, Dtab1, Dtab2, Dtab3, Dtabn1, Dtabn2, Dtabn3, Prp, Prppz, Dmt, Dtab1s, Dtab2s,
        Dtabn1s, Dtabn2s, Dtabs, Dtabss, Dpsn1, Dpsn2, Mban, Mban1, Mbzp, Mtt, Maz, Mdp, Dzal1, Dkh;

    // Every table above, in the order of the data file list; nullptr for an unknown name.
    QList<Table *> tables() const;
    Table *table(const QString &name) const;

    // The data root whose template directory (Data/) repairs a data set.
    void setDataRoot(const QString &dataRoot) { dataRoot_ = engine::withTrailingSlash(dataRoot); }
    QString dataRoot() const { return dataRoot_; }
    QString templateDirectory() const { return dataRoot_ + QStringLiteral("Data/"); }

    void setStatusDisplay(StatusDisplay *display) { display_ = display; }
    StatusDisplay *statusDisplay() const { return display_; }
    // While off, table hooks leave the record-position panels alone (bulk refreshes).
    bool statusDisplayOn = false;

    // Opens all tables of the data set that Danove points at, repairing older or missing
    // tables on the way; throws EngineError when a table still can't be opened.
    void OtevritTabulky();
    // Re-reads the tables that other procedures change behind the open cursors.
    void Obnovit1();
    // Caption of the main window from the taxpayer's name, or from the data set's name in the
    // catalogue while the taxpayer's row names nobody (a new data set).
    void NazevDp1();
    QString captionText();
    // The name the caption shows: a person's title, first name and surname, or a company's
    // name; empty when neither or both are filled.
    QString taxpayerName();
    // The catalogue's name of the open data set.
    QString dataSetName;
    // Third status panel: "EDIT" while the table is edited or a row inserted.
    void StatusEdit(Table &table);
    // Second status panel: the record position of a list ("3/12", "0/0", "Nový záznam").
    void Zaznam(Table &table);
    static QString recordPosition(const Table &table);
    void closeAll();

    bool tablesOpen() const { return tablesOpen_; }

private:
    void attachRules();
    void setStatus(int panel, const QString &text);

    QString dataRoot_;
    StatusDisplay *display_ = nullptr;
    bool tablesOpen_ = false;
};

}  // namespace rur::data
