#pragma once

#include "print/PageCanvas.h"

#include <QFont>
#include <QString>

// A printout that fills A4 pages from the top down: what it draws moves on
// to the next page when the page is full; each page may start with the
// layout's heading and ends with a footer line that names the document and
// "Страница N".
namespace nkp::print {

class PageFlow {
public:
    static constexpr double kTop = mm(15);
    static constexpr double kBottom = kPageHeight - mm(15);
    static constexpr double kLeft = mm(15);
    static constexpr double kRight = kPageWidth - mm(10);
    static constexpr double kFooterHeight = 22;
    static constexpr double kCellPad = 2;

    PageFlow(PageCanvas& canvas, QString footerTitle);
    virtual ~PageFlow() = default;
    PageFlow(const PageFlow&) = delete;
    PageFlow& operator=(const PageFlow&) = delete;

    int pages() const { return page_; }
    // Ends the page before (with its footer) and starts the next one.
    void startPage();
    // The footer of the last page.
    void finish() { drawFooter(); }
    // Leaves room for `height` units on this page or starts the next one;
    // true when it started one.
    bool ensureRoom(double height);
    // A section's title, kept on a page with room for three rows after it.
    void title(const QString& text);

protected:
    // Drawn at the top of each new page; nothing by default.
    virtual void drawHeading() { }

    PageCanvas& canvas_;
    QFont body_, bold_;
    double row_;
    double y_ = kTop;
    int page_ = 0;

private:
    void drawFooter();
    QString footerTitle_;
};

}  // namespace nkp::print
