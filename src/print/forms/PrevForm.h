#pragma once

#include "print/PreviewRules.h"
#include "report/PreparedReport.h"

#include <QDialog>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;

namespace rur::data {
class TDM1;
}
namespace rur::platform {
class Prompter;
}
namespace rur::report {
class PageView;
class PrintTarget;
}  // namespace rur::report

namespace rur::print {

class TTiskInfoForm;

// What one preview shows and where its output goes.
struct PreviewRequest {
    const report::PreparedReport *report = nullptr;
    QString statusText;            // which pages "Tisk" prints, from the print centre
    BrowseState *browse = nullptr;  // the print centre's page browsing, or none
    QString printerName;           // empty: the default printer
    QString dataSetIni;            // where the zoom is kept ([Tisk] Nahled)
    QString pdfFolder;             // where "PDF" proposes to save
};

// "Náhled před tiskem": the pages of a laid-out report with zoom and paging, printing with the
// copies of the print settings (Dmt Kop, Pk), and saving as PDF. Created once and reused.
class TPrevForm : public QDialog {
    Q_OBJECT

public:
    TPrevForm(data::TDM1 &dm, platform::Prompter &prompter, QWidget *parent = nullptr);
    ~TPrevForm() override;

    // Where "Tisk" sends its jobs; the system's printers unless a test gives its own.
    void setPrintTarget(std::unique_ptr<report::PrintTarget> target);

    // Shows the report modally and returns when the window closes.
    void ShowPreview(const PreviewRequest &request);
    // The same without waiting: prepares the window and shows it (tests, screenshots).
    void showRequest(const PreviewRequest &request);

    QComboBox *zoomBox() const { return zoomBox_; }
    QPushButton *button(const QString &objectName) const;
    QAction *command(const QString &objectName) const;
    QLabel *pagePanel() const { return pagePanel_; }
    QLabel *statusPanel() const { return statusPanel_; }
    report::PageView *pageView() const { return view_; }
    QScrollArea *scrollArea() const { return scroll_; }
    int zoom() const { return zoom_; }
    const PreviewPaging &paging() const { return paging_; }

    void setZoom(int percent);
    // The zoom box's text taken as the user typed or chose it.
    void ZoomBoxChange();
    void PrintButtonClick();
    void PdfButtonClick();

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void build();
    void prepare(const PreviewRequest &request);
    void step(PreviewPaging::Step step);
    void updatePaging();
    void scrollBy(int dx, int dy);
    void scrollHome();

    data::TDM1 &dm_;
    platform::Prompter &prompter_;
    std::unique_ptr<report::PrintTarget> target_;
    PreviewRequest request_;
    PreviewPaging paging_;
    int zoom_ = 100;
    int copies_ = 1;
    bool printerCopies_ = false;
    QComboBox *zoomBox_ = nullptr;
    QLabel *pagePanel_ = nullptr;
    QLabel *statusPanel_ = nullptr;
    QScrollArea *scroll_ = nullptr;
    report::PageView *view_ = nullptr;
    TTiskInfoForm *info_ = nullptr;
};

}  // namespace rur::print
