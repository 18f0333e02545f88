#pragma once

// 查看 ▸ 图表: a dock beside the record list with a histogram of one column over the rows the
// list shows, or a scatter plot of two numeric columns. The plot and the list are one selection:
// a point or bar clicked, or a rectangle dragged out, selects its rows in the list and brings the
// first into view; rows selected in the list are marked in the plot. A pick whose rows lie in
// more separate runs of the list than its selection can hold and still paint quickly is shown
// alone instead: the list shows only those rows, all selected, while the plot goes on showing
// every row, until the next pick, a click beside every point, 显示全部记录 or the dock closed. The column plotted up
// follows the list's current cell into another field's column.
//
// It follows the table: the find bar's filter and 查看's 只显示… checks, every change (an edit, an
// undo, an import), and another file loaded, which it shows at once. Each kind keeps its own
// place for the dock, plot type and columns in the editor's settings. Closed, it holds no data
// and listens to nothing.

#include "plot/Histogram.h"
#include "plot/PlotSample.h"
#include "plot/PointGrid.h"

#include <QDockWidget>
#include <QTimer>

#include <memory>
#include <vector>

class QChart;
class QComboBox;
class QItemSelectionModel;
class QLabel;
class QPushButton;
class QMainWindow;

namespace rw {

class EditorSettings;
class FileChooser;
class PlotChart;
class PlotChartView;
class Prompter;
class RecordFinder;
class RecordList;
class StatusReport;
class TableDocument;

// What the dock works on and with; all of it outlives the dock.
struct PlotDockLinks {
    TableDocument& document;
    RecordList& list;
    RecordFinder& finder;
    EditorSettings& settings;
    FileChooser& files;
    Prompter& prompter;
    StatusReport& status;
};

class PlotDock : public QDockWidget {
    Q_OBJECT
public:
    PlotDock(const PlotDockLinks& links, QMainWindow& frame);
    ~PlotDock() override;

    // Shown at the open kind's place, drawing the table; closed, it drops what it drew.
    void Open();
    void Close();
    [[nodiscard]] bool IsOpen() const { return m_open; }

    [[nodiscard]] bool Scatter() const;
    void SetScatter(bool scatter);
    // The column across (the scatter plot's) and the one up (the histogram's, too).
    [[nodiscard]] int XColumn() const;
    [[nodiscard]] int YColumn() const;
    void SetXColumn(int column);
    void SetYColumn(int column);

    // What is drawn now: the rows and values, and the bins or the points.
    [[nodiscard]] const PlotSample& Sample() const { return m_sample; }
    [[nodiscard]] const Histogram& Bins() const { return m_histogram; }
    [[nodiscard]] const PointGrid& Grid() const { return m_grid; }
    // The sample's positions (rows of the list) selected in the list.
    [[nodiscard]] const std::vector<std::uint8_t>& Marked() const { return m_marked; }
    [[nodiscard]] const PlotChart& Chart() const { return *m_chart; }
    [[nodiscard]] PlotChartView* View() const { return m_view; }
    // The line over the plot: how many rows, bins or points, and how many selected.
    [[nodiscard]] QString Summary() const;

    // What the pointer at a place (in the axes' values) shows and picks: the rows of the list
    // behind the bar or point there, or inside the rectangle between two places.
    [[nodiscard]] QString TipAt(QPointF value);
    [[nodiscard]] std::vector<std::size_t> PickedAt(QPointF value);
    [[nodiscard]] std::vector<std::size_t> PickedBetween(QPointF from, QPointF to);
    // Selects those rows of the list (nothing else), the first current and in view; a pick of
    // more runs than kMostRunsInPlace shows them alone.
    void SelectRows(const std::vector<std::size_t>& positions);
    // The list shows every row the plot shows again: a pick shown alone ends.
    void ShowAllRows();
    // The list paints a selection run by run: this many runs paint in some tens of milliseconds
    // (README, Performance).
    static constexpr std::size_t kMostRunsInPlace = 4000;
    // 导出图片.
    void ExportImage();
    // Draws now what changes since asked for.
    void RedrawNow();

signals:
    // The dock was closed by its own close button.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // What is waiting to be done, each including those before it.
    enum class Pending { Nothing, Marks, Draw, Sample };

    void CreateControls();
    // The kind's columns in the boxes, its remembered choices taken.
    void TakeKind();
    // At the kind's place; the frame widened where the list would have less than its form needs.
    void Place();
    void MakeRoom();
    void SaveLayout();
    void Listen();
    void StopListening();
    // The list's selection model is another after a filter came or went.
    void WatchSelection();
    void Schedule(Pending pending);
    void Resample();
    void Draw();
    void Mark();
    void FollowCurrentColumn(const QModelIndex& current);
    void ShowTip(QPointF value, QPoint globalPlace);
    [[nodiscard]] std::vector<int> ShownRows() const;
    void ShowPickAlone(const std::vector<std::size_t>& positions);
    // The list's rows, or the pick's alone, changed by the dock itself: the plot's rows stay.
    template <typename Change>
    void KeepingSample(Change&& change);
    // The marks of the rows selected in the list while it shows a pick alone.
    void MarkThroughTable(const QItemSelectionModel& selection);
    [[nodiscard]] GridFrame FrameOfSample() const;
    [[nodiscard]] QSizeF PlotArea() const;
    // The bar at a place of the histogram, -1 for none.
    [[nodiscard]] int BarAt(QPointF value) const;
    [[nodiscard]] QString TitleOf(int column) const;

    TableDocument& m_document;
    RecordList& m_list;
    RecordFinder& m_finder;
    EditorSettings& m_settings;
    FileChooser& m_files;
    Prompter& m_prompter;
    StatusReport& m_status;
    QMainWindow& m_frame;

    QComboBox* m_type = nullptr;
    QComboBox* m_x = nullptr;
    QComboBox* m_y = nullptr;
    QLabel* m_xLabel = nullptr;
    QLabel* m_summary = nullptr;
    QPushButton* m_showAll = nullptr;
    QChart* m_chartItem = nullptr;
    PlotChartView* m_view = nullptr;
    std::unique_ptr<PlotChart> m_chart;

    bool m_open = false;
    bool m_placing = false; // the dock is being put at its place: nothing to remember
    bool m_keepingSample = false;
    FileKind m_kind = FileKind::None; // whose columns the boxes hold
    std::vector<QMetaObject::Connection> m_listening;
    std::vector<QMetaObject::Connection> m_watchingSelection;
    QItemSelectionModel* m_watched = nullptr;
    QTimer m_later;
    Pending m_pending = Pending::Nothing;

    PlotSample m_sample;
    Histogram m_histogram;
    int m_maxBins = 0; // what the histogram was made for
    PointGrid m_grid;
    std::vector<std::uint8_t> m_marked;
    std::size_t m_markedCount = 0;
};

} // namespace rw
