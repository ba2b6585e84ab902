#pragma once

#include "analysis/Events.h"
#include "analysis/LoadBands.h"
#include "base/UserPrompts.h"
#include "screen/MainState.h"
#include "ui/common/ColumnTableModel.h"

#include <QWidget>

#include <vector>

class QComboBox;
class QCustomPlot;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;
class QTableWidget;

// The tab "События": the episodes of overload, coordinate protection and
// faults of the loaded read-out (filter by kind, overload threshold, count
// per kind), and the load spectrum as bars beside the recorder's own band
// counters. Choosing an episode asks the window to show its first frame in
// the frames table and mark its range on both charts.
class EventsTab : public QWidget {
    Q_OBJECT
public:
    // `startDirectory` is where the export dialog starts without a loaded file.
    EventsTab(const nkp::screen::MainState& state, const QString& startDirectory, char decimalSeparator,
        nkp::UserPrompts& prompts, QWidget* parent = nullptr);

    // After loading: episodes and spectrum of the window's read-out.
    void showLoaded();
    const std::vector<nkp::analysis::Episode>& episodes() const { return episodes_; }
    // The episodes the table lists (the filter applied), in its order.
    const std::vector<int>& shownEpisodes() const { return shown_; }
    int threshold() const;
    // The kind the user filters by (an EventKind), -1 for all.
    int kindFilter() const;

    // Writes the episodes as CSV (UTF-8 with BOM) to a file the user names.
    bool exportCsv();
    // Shows the episode of table row `row`: emits episodeChosen().
    void showEpisode(int row);

signals:
    // An episode was chosen: its frames run from chronological position
    // `first` to `last`.
    void episodeChosen(int first, int last);
    // The user clicked an episode in the table: the frames table should come
    // to the front.
    void framesTableWanted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QComboBox* ComboBox_Kind = nullptr;
    QSpinBox* Edit_Threshold = nullptr;
    QLabel* Label_Counts = nullptr;
    QPushButton* BitBtn_ExportCsv = nullptr;
    QTableView* StringGrid_Events = nullptr;
    nkp::ui::TableModel<nkp::analysis::Episode>* eventsModel_ = nullptr;
    QCustomPlot* Chart_Spectrum = nullptr;
    QTableWidget* StringGrid_Cycles = nullptr;
    void recompute();
    void fillTable();
    // The counters' table now, the chart when it is shown.
    void fillSpectrum();
    void drawSpectrumChart();
    void fitCyclesTable();

    const nkp::screen::MainState& state_;
    QString startDirectory_;
    char decimalSeparator_;
    nkp::UserPrompts& prompts_;
    std::vector<nkp::analysis::Episode> episodes_;
    std::vector<int> shown_;
    nkp::analysis::LoadSpectrum spectrum_;
    bool spectrumChartStale_ = false;
};
