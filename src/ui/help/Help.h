#pragma once

#include <QString>
#include <QWidget>

#include <utility>
#include <vector>

class QTextBrowser;

// The user guide: Russian Markdown pages, one for each window and tab, with
// pictures of the real windows, shown in the program's help window.
namespace nkp::ui {

// The guide's folder: NKP_GUIDE_DIR when set, the installed guide beside the
// program, else the guide of the source tree the program was built from.
QString guideDirectory();

// Every window and tab (by objectName) with the guide page that describes it.
const std::vector<std::pair<QString, QString>>& helpPages();

// The page for the window (or its current tab) that `widget` belongs to;
// the guide's contents for anything else.
QString helpPageFor(const QWidget* widget);

// Shows the page for the window in use (`from`) in the help window, which
// belongs to that window so that a modal window does not block it.
void showHelpFor(QWidget* from);

// The text of "О программе": version, build date, the libraries and their licences.
QString aboutText();

}  // namespace nkp::ui

// "Руководство пользователя": the guide's pages with their links and pictures.
class TForm_Help : public QWidget {
    Q_OBJECT
public:
    explicit TForm_Help(QWidget* parent = nullptr);
    // Shows `page` (a file name of the guide).
    void showPage(const QString& page);
    // The file name of the page shown.
    QString currentPage() const;
    QTextBrowser* browser() const { return Browser_Help; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitPictures();
    QTextBrowser* Browser_Help = nullptr;
};
