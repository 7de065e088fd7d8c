#pragma once

#include "report/PreparedReport.h"

#include <QWidget>

namespace rur::report {

// One page of a laid-out report on screen, at a zoom in per cent (100: one report unit per
// pixel, the page's real size on a 96-dpi screen). Sits in a scroll area.
class PageView : public QWidget {
    Q_OBJECT

public:
    explicit PageView(QWidget *parent = nullptr);

    void setReport(const PreparedReport *report);
    void setPage(int page);
    void setZoom(int percent);
    int page() const { return page_; }
    int zoom() const { return zoom_; }
    // The page's size in pixels at 100 %.
    QSizeF pageSize() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const PreparedReport *report_ = nullptr;
    int page_ = 0;
    int zoom_ = 100;
};

}  // namespace rur::report
