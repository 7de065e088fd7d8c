#pragma once

#include "backup/forms/ArchiveForm.h"

class QButtonGroup;
class QCheckBox;

namespace rur::backup {

// "Zálohování dat": backs the open data set up into the archive at the complete path, with
// "obnovit indexy" to rebuild the indexes first.
class TExdForm : public TArchiveForm {
    Q_OBJECT

public:
    explicit TExdForm(ArchiveWindowContext &ctx, QWidget *parent = nullptr);
    QCheckBox *rebuildIndexesBox() const { return rebuild_; }

protected:
    bool runProcedure(ArchiveJob &job, const QString &completePath) override;
    int progressStep() const override { return 2; }
    void readSettings(const platform::IniFile &ini) override;
    void writeSettings(platform::IniFile &ini) override;

private:
    QCheckBox *rebuild_;
};

// "Obnovení dat": restores the chosen part of the data set from the archive at the complete
// path.
class TExd1Form : public TArchiveForm {
    Q_OBJECT

public:
    explicit TExd1Form(ArchiveWindowContext &ctx, QWidget *parent = nullptr);
    // The checked choice of the group "obnovit" (RestoreChoice).
    int choice() const;
    void setChoice(int choice);

protected:
    bool runProcedure(ArchiveJob &job, const QString &completePath) override;
    int progressStep() const override;

private:
    QButtonGroup *choices_;
};

}  // namespace rur::backup
