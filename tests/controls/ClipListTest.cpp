#include "Dispatch.h"
#include "JoinnerCell.h"
#include "JoinnerTableView.h"
#include "LabelField.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "NSProgressView.h"
#include "SimpleData.h"
#include "ViewFrame.h"
#include "WidgetHost.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPixmap>

#include <vector>

namespace {

std::shared_ptr<SimpleData> clip(const QString& name, int width = 640, int height = 360) {
    auto data = std::make_shared<SimpleData>();
    data->setPath("/media/" + name);
    data->setSelected(false);
    data->sourceData()->setWidth(width);
    data->sourceData()->setHeight(height);
    data->sourceData()->setDuration(3725.5f);
    data->sourceData()->setFileSize(12.34f);
    data->setCutTimeRange_start(1000000);
    data->setCutTimeRange_stop(4500000);
    return data;
}

TEST(JoinnerCell, ShowsTheClip) {
    JoinnerCell row(ViewRect{0, 0, 600, 60}, nullptr);
    row.setFileData(clip("holiday.mp4"));
    EXPECT_EQ(row.scrLabel()->text(), "holiday.mp4");
    EXPECT_EQ(row.sourceDurationLabel()->text(), "01:02:05.50");
    EXPECT_EQ(row.sourceFrameLabel()->text(), "640x360");
    EXPECT_EQ(row.sourceSizeLabel()->text(), "12.3MB");
    EXPECT_EQ(row.cuttedTimeLabel()->text(), "00:00:03.50");
    EXPECT_EQ(ViewFrame::frame(row.sourceLabel()).maxY(), 38) << "the line's top is where the layout puts it";
    EXPECT_EQ(ViewFrame::frame(row.sourceSizeLabel()).x, 283);
    EXPECT_EQ(ViewFrame::frame(row.effectBtn()).y, 2);
}

TEST(JoinnerCell, LabelsShowWhatHangsBelowTheLineAndDoNotOverlap) {
    JoinnerCell row(ViewRect{0, 0, 600, 60}, nullptr);
    row.setFileData(clip("my_holiday_clip.mp4"));
    const std::vector<LabelField*> column = {row.scrLabel(), row.sourceLabel(), row.cuttedLabel()};
    for (LabelField* label : column)
        EXPECT_GE(label->height(), QFontMetrics(label->font()).height()) << label->text().toStdString();
    for (size_t i = 0; i + 1 < column.size(); ++i)
        EXPECT_GE(ViewFrame::frame(column[i]).y, ViewFrame::frame(column[i + 1]).maxY())
            << column[i]->text().toStdString();

    // A name of underscores alone: every one of them lies below the baseline and must still be drawn.
    row.scrLabel()->setText("________");
    const QImage shot = row.scrLabel()->grab().toImage();
    int ink = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (qGray(shot.pixel(x, y)) < 128 && qAlpha(shot.pixel(x, y)) > 128)
                ++ink;
    EXPECT_GT(ink, 10) << "the underscores are drawn";
}

TEST(JoinnerCell, SizeTexts) {
    EXPECT_EQ(JoinnerCell::sizeText(12.34f), "12.3MB");
    EXPECT_EQ(JoinnerCell::sizeText(0.5f), "512.0KB");
    EXPECT_EQ(JoinnerCell::sizeText(0.0005f), "524.3B");
    EXPECT_EQ(JoinnerCell::sizeText(1.0f), "1.0MB");
}

TEST(JoinnerCell, ClipWithoutVideoHidesCheckAndTransition) {
    JoinnerCell row(ViewRect{0, 0, 600, 60}, nullptr);
    row.setFileData(clip("song.mp3", 0, 0));
    EXPECT_TRUE(row.defaultoutputformat()->isHidden());
    EXPECT_TRUE(row.effectLabel()->isHidden());
    EXPECT_TRUE(row.effectBtn()->isHidden());
}

TEST(JoinnerCell, SelectionClosuresAndClicks) {
    WidgetHost host(700, 100);
    auto* row = new JoinnerCell(ViewRect{0, 0, 600, 60}, host.window());
    row->show();
    int downs = 0;
    int selections = 0;
    row->setMouseDownBlock([&downs](JoinnerCell*) { ++downs; });
    row->setSelectedBlock([&selections](JoinnerCell*) { ++selections; });
    auto data = clip("a.mp4");
    data->setSelected(true);
    row->setFileData(data);
    EXPECT_TRUE(row->selected());
    EXPECT_EQ(selections, 0) << "a record's selection is stored without the closure";
    WidgetHost::click(row, 300, 30);
    EXPECT_EQ(downs, 0) << "a click on a selected row runs nothing";
    row->setSelected(true);
    row->setSelected(true);
    EXPECT_EQ(selections, 2) << "every setSelected runs the closure";
    row->setSelected(false);
    row->setEnabele(false);
    WidgetHost::click(row, 300, 30);
    EXPECT_EQ(downs, 0);
    row->setEnabele(true);
    WidgetHost::click(row, 300, 30);
    EXPECT_EQ(downs, 1);
}

TEST(JoinnerCell, CheckTogglesTheClipsDefaultFormatOneTurnLater) {
    WidgetHost host(700, 100);
    auto* row = new JoinnerCell(ViewRect{0, 0, 600, 60}, host.window());
    row->show();
    auto data = clip("a.mp4");
    row->setFileData(data);
    int reports = 0;
    row->setSelecteddefaultFormatoutputBlock([&reports](JoinnerCell*) { ++reports; });
    const ViewRect check = ViewFrame::frame(row->defaultoutputformat());
    WidgetHost::click(row->defaultoutputformat(), check.width / 2, check.height / 2);
    EXPECT_FALSE(data->defaultFormat()) << "nothing happens inside the click";
    ASSERT_TRUE(Dispatch::runUntil([&] { return reports == 1; }, 2000));
    EXPECT_TRUE(data->defaultFormat());
    EXPECT_TRUE(row->defaultoutputformat()->selected());
    WidgetHost::click(row->defaultoutputformat(), check.width / 2, check.height / 2);
    ASSERT_TRUE(Dispatch::runUntil([&] { return reports == 2; }, 2000));
    EXPECT_FALSE(data->defaultFormat());
    EXPECT_FALSE(row->defaultoutputformat()->selected());
}

struct ClipList {
    explicit ClipList(int count) : host(700, 300) {
        items = std::make_shared<SimpleDataList>();
        for (int i = 0; i < count; ++i)
            items->append(clip(QString("clip%1.mp4").arg(i)));
        list = new JoinnerTableView(ViewRect{0, 0, 600, 250}, host.window());
        list->show();
        list->setItems(items);
        list->setRowHeight(60);
        list->setSelectItemBlock([this](const std::shared_ptr<SimpleData>& item) { selected.push_back(item); });
        list->setSelectDefaultOutputFormatBlock(
            [this](const std::shared_ptr<SimpleData>& item) { defaults.push_back(item); });
        list->setSelectTranstionEffectBlock([this](long long row, long long kind) {
            transitions.push_back({row, kind});
        });
        list->reloadData();
    }
    void clickRow(int i) {
        JoinnerCell* row = list->cells()[i];
        WidgetHost::click(row, 300, 30);
    }

    WidgetHost host;
    std::shared_ptr<SimpleDataList> items;
    JoinnerTableView* list;
    std::vector<std::shared_ptr<SimpleData>> selected;
    std::vector<std::shared_ptr<SimpleData>> defaults;
    std::vector<std::pair<long long, long long>> transitions;
};

TEST(JoinnerTableView, ReloadBuildsRowsTopDownAndSelectsRowZero) {
    ClipList l(3);
    ASSERT_EQ(l.list->cells().size(), 3);
    EXPECT_EQ(ViewFrame::frame(l.list->cells()[0]).y, 250 - 63);
    EXPECT_EQ(ViewFrame::frame(l.list->cells()[1]).y, 250 - 126);
    EXPECT_TRUE(l.list->cells()[0]->selected());
    EXPECT_EQ(l.selected, (std::vector<std::shared_ptr<SimpleData>>{l.items->at(0)}));
    EXPECT_FALSE(l.list->cells()[0]->effectBtn()->isHidden());
    EXPECT_FALSE(l.list->cells()[1]->effectBtn()->isHidden());
    EXPECT_TRUE(l.list->cells()[2]->effectBtn()->isHidden()) << "no transition after the last clip";
}

TEST(JoinnerTableView, EmptyListAndSingleClip) {
    ClipList empty(0);
    EXPECT_TRUE(empty.list->cells().isEmpty());
    EXPECT_EQ(empty.list->scrollContentView()->height(), 250) << "a document as tall as the scroll view";
    EXPECT_TRUE(empty.selected.empty());
    ClipList one(1);
    EXPECT_TRUE(one.list->cells()[0]->effectBtn()->isHidden());
}

TEST(JoinnerTableView, WithoutClosuresRowsHideCheckAndTransition) {
    WidgetHost host(700, 300);
    auto items = std::make_shared<SimpleDataList>(SimpleDataList{clip("a.mp4"), clip("b.mp4")});
    auto* list = new JoinnerTableView(ViewRect{0, 0, 600, 250}, host.window());
    list->setItems(items);
    list->setRowHeight(60);
    list->setSelectItemBlock([](const std::shared_ptr<SimpleData>&) {});
    list->reloadData();
    for (JoinnerCell* row : list->cells()) {
        EXPECT_TRUE(row->defaultoutputformat()->isHidden());
        EXPECT_TRUE(row->effectBtn()->isHidden());
        EXPECT_TRUE(row->effectLabel()->isHidden());
    }
}

TEST(JoinnerTableView, ClickSelectsAndReports) {
    ClipList l(3);
    l.clickRow(2);
    EXPECT_TRUE(l.list->cells()[2]->selected());
    EXPECT_FALSE(l.list->cells()[0]->selected());
    EXPECT_EQ(l.list->selectedRow(), 2);
    EXPECT_EQ(l.list->selectedItem(), l.items->at(2));
    EXPECT_EQ(l.selected.back(), l.items->at(2));
    const size_t reports = l.selected.size();
    l.clickRow(2);
    EXPECT_EQ(l.selected.size(), reports) << "a click on the selected row runs nothing";
}

TEST(JoinnerTableView, RefeedKeepsTheRowWithoutReporting) {
    ClipList l(3);
    l.clickRow(1);
    l.selected.clear();
    const long long had = l.list->selectedRow();
    l.list->setItems(l.items);
    l.list->setSelectedRow(had);
    l.list->setDisabelSelectBlock(true);
    l.list->reloadData();
    EXPECT_TRUE(l.list->cells()[1]->selected());
    EXPECT_FALSE(l.list->cells()[0]->selected());
    EXPECT_TRUE(l.selected.empty());
    l.clickRow(2);
    EXPECT_EQ(l.selected, (std::vector<std::shared_ptr<SimpleData>>{l.items->at(2)}));
}

TEST(JoinnerTableView, OwnerMayReloadFromInsideASelection) {
    ClipList l(3);
    l.list->setSelectItemBlock([&l](const std::shared_ptr<SimpleData>& item) {
        l.selected.push_back(item);
        // A re-feed straight from the report: the clicked row is dropped while its click is running.
        const long long had = l.list->selectedRow();
        l.list->setItems(l.items);
        l.list->setSelectedRow(had);
        l.list->setDisabelSelectBlock(true);
        l.list->reloadData();
    });
    l.clickRow(2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(l.list->cells().size(), 3);
    EXPECT_TRUE(l.list->cells()[2]->selected());
    EXPECT_EQ(l.selected.back(), l.items->at(2));
}

TEST(JoinnerTableView, DefaultFormatIsKeptOnOneClip) {
    ClipList l(3);
    l.items->at(0)->setDefaultFormat(true);
    l.list->reloadData();
    JoinnerCell* row2 = l.list->cells()[2];
    const ViewRect check = ViewFrame::frame(row2->defaultoutputformat());
    WidgetHost::click(row2->defaultoutputformat(), check.width / 2, check.height / 2);
    ASSERT_TRUE(Dispatch::runUntil([&] { return l.defaults.size() == 1; }, 2000));
    EXPECT_EQ(l.defaults[0], l.items->at(2));
    EXPECT_TRUE(l.items->at(2)->defaultFormat());
    EXPECT_FALSE(l.items->at(0)->defaultFormat());
    EXPECT_FALSE(l.list->cells()[0]->defaultoutputformat()->selected());

    WidgetHost::click(row2->defaultoutputformat(), check.width / 2, check.height / 2);
    ASSERT_TRUE(Dispatch::runUntil([&] { return l.defaults.size() == 2; }, 2000));
    EXPECT_EQ(l.defaults[1], l.items->at(2));
    EXPECT_FALSE(l.items->at(2)->defaultFormat()) << "clearing the flagged clip leaves none";
}

TEST(JoinnerTableView, TransitionChoiceIsStoredAndReported) {
    ClipList l(3);
    QComboBox* choice = l.list->cells()[1]->effectBtn();
    choice->setCurrentIndex(3);
    emit choice->activated(3);
    EXPECT_EQ(l.items->at(1)->transitionEffect(), 3);
    ASSERT_FALSE(l.transitions.empty());
    EXPECT_EQ(l.transitions.back(), (std::pair<long long, long long>{1, 3}));
}

TEST(JoinnerTableView, ExportProgress) {
    ClipList l(3);
    l.list->showProgress(2);
    NSProgressView* bar = l.list->cells()[2]->progress();
    EXPECT_FALSE(bar->isHidden());
    EXPECT_TRUE(l.list->cells()[2]->selected());
    EXPECT_TRUE(l.list->cells()[0]->selected()) << "the row selected before stays selected";
    l.list->setExportProgress(0.999f);
    EXPECT_FALSE(bar->isHidden());
    EXPECT_FLOAT_EQ(bar->progress(), 0.999f);
    l.list->setExportProgress(1.0f);
    EXPECT_TRUE(bar->isHidden());
    l.list->setExportProgress(0.5f);
    l.list->hiddenProgress(2);
    EXPECT_TRUE(bar->isHidden());
    l.list->showProgress(3);
    l.list->hiddenProgress(-1);
    l.list->setSelectedRow(9);
    l.list->setExportProgress(0.5f); // names no row: ignored
    EXPECT_EQ(l.list->selectedRow(), 9);
}

} // namespace
