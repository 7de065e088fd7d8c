#pragma once

#include "base/Directories.h"

#include <QDialog>

class QLineEdit;

namespace rur::app {

// "Informace": the directories the program works with, one read-only line each.
class TAu9Form : public QDialog {
    Q_OBJECT

public:
    explicit TAu9Form(const base::Directories &dirs, QWidget *parent = nullptr);
    // The value shown on the line with this caption ("FileDir:"); empty when there is none.
    QString value(const QString &caption) const;
};

}  // namespace rur::app
