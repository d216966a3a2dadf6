// Long work shown and stopped: the progress display over the window while a slow head-office
// gateway sends its reply and the products are compared, what a stop leaves, and that work
// left to finish ends as it does with no display at all.
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "gateway/FrmDataModHttp.h"
#include "gateway_process.h"
#include "shared_gateway.h"
#include "recording_dialogs.h"
#include "storedb/product_record.h"
#include "temp_database.h"
#include "text/cp950.h"
#include "text/local_date.h"
#include "store_window_fixture.h"
#include "window/FrmQorClient.h"
#include "window/big5_qt.h"

namespace qor::window {
namespace {

using namespace std::chrono_literals;

constexpr int kProducts = 40;
// Every reply takes at least this long: well past the half second before the display shows.
constexpr const char* kReplyMs = "1500";

// W01..W40, changed today and new to the store, each with a name the packet carries in Big5.
std::string headOfficeRows() {
    std::string sql;
    for (int i = 1; i <= kProducts; ++i) {
        const std::string n = (i < 10 ? "0" : "") + std::to_string(i);
        sql += "INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE, PROD_NAME, PSALE_PRICE, VIP_PRICE, "
               "PD_ITEMID, STOCK_QTY, CHG_DATE) VALUES ('W" + n + "', '69000" + n + "', '" +
               QOR_BIG5("蘋果汁") + n + "', 49, 45, 'A01', 'Y', '" + text::localDateText(0) +
               "');\n";
    }
    return sql;
}

QString big5(const char* utf8) { return toQString(text::utf8ToCp950(utf8)); }

class WorkProgressShown : public qor::test::SharedGateway<WorkProgressShown, test::StoreWindow> {
protected:
    static void SetUpTestSuite() {
        startGateway(headOfficeRows(), qor::test::GatewayAccount{},
                     std::vector<std::string>{"--delay", kReplyMs});
    }

    void SetUp() override {
        openWindow("INSERT INTO PROD_ITEM VALUES ('A01', 'Drinks');\n", *gateway);
        form->workArea().Panel3->show();
    }

    void download() {
        form->signInBar().Ed_Day->setText("1");
        QTest::mouseClick(form->workArea().SpeedButton2, Qt::LeftButton);
    }

    WorkDisplay& work() { return form->workDisplay(); }
    ds::Dataset& products() { return form->store().CDS_PRODUCT; }
    template <class W>
    W* part(const char* name) {
        ProgressDisplay* shown = work().shownDisplay();
        return shown ? shown->findChild<W*>(name) : nullptr;
    }

    // Every listed row, every field as shown.
    std::vector<std::vector<std::string>> listedRows() {
        std::vector<std::vector<std::string>> rows;
        for (int r = 0; r < products().rowCount(); ++r) {
            rows.emplace_back();
            for (int f = 0; f < products().fieldCount(); ++f)
                rows.back().push_back(products().displayTextAt(r, products().field(f)));
        }
        return rows;
    }

};


TEST(WorkProgressLine, SaysHowFarTheWorkHasCome) {
    EXPECT_EQ(progressLine(ProgressUnit::Bytes, 0, 0), QOR_BIG5("等待回應…"));
    EXPECT_EQ(progressLine(ProgressUnit::Bytes, 1258291, 4613734),
              QOR_BIG5("已接收 1.2 MB / 4.4 MB"));
    EXPECT_EQ(progressLine(ProgressUnit::Rows, 1234, 20000),
              QOR_BIG5("第 1,234 筆 / 共 20,000 筆"));
    EXPECT_EQ(progressLine(ProgressUnit::Items, 3, 0), QOR_BIG5("第 3 項"));
}

TEST_F(WorkProgressShown, QuickWorkShowsNothingAndTheDisplayClosesWhenWorkEnds) {
    {
        NamedWork quick(&work(), QOR_BIG5("匯入商品"), ProgressUnit::Rows);
        for (std::uint64_t row = 0; row < 100; ++row) work().checkpoint(row, 100);
        EXPECT_EQ(work().shownDisplay(), nullptr);
    }
    work().setPace(0ms, 0ms);
    {
        NamedWork shown(&work(), QOR_BIG5("匯入商品"), ProgressUnit::Rows);
        work().checkpoint(1, 4);
        ASSERT_NE(work().shownDisplay(), nullptr);
        EXPECT_EQ(part<QLabel>("ProgressLine")->text(), big5("第 1 筆 / 共 4 筆"));
        EXPECT_EQ(part<QProgressBar>("ProgressBar")->value(), 250);
        EXPECT_EQ(QApplication::activeModalWidget(), work().shownDisplay());
    }
    EXPECT_EQ(work().shownDisplay(), nullptr);
    EXPECT_FALSE(work().running());
}

// Shown once the reply has taken half a second (then brought up to date at every look):
// bytes of the announced length, modal. The window handles what comes in meanwhile (a timer
// of its own), whether the work runs aside or on the window's thread, but nothing else
// starts: a key typed into the day count and a click on the suppliers' button are dropped, a
// click queued for it is refused.
TEST_F(WorkProgressShown, ASlowReplyShowsItsBytesAndTheWindowAnswersButStartsNothingElse) {
    work().setPace(500ms, 0ms, 0ms);
    bool sawBytes = false, queued = false;
    QWidget* modal = nullptr;
    work().onStep = [&](std::uint64_t, std::uint64_t) {
        if (!work().shownDisplay() || work().unit() != ProgressUnit::Bytes) return;
        modal = QApplication::activeModalWidget();
        EXPECT_EQ(part<QLabel>("ProgressCaption")->text(), big5("下載商品資料"));
        const QString line = part<QLabel>("ProgressLine")->text();
        if (line.startsWith(big5("已接收 ")) && line.contains(" / ") &&
            part<QProgressBar>("ProgressBar")->maximum() == 1000)
            sawBytes = true;
        if (!queued)
            queued = QMetaObject::invokeMethod(form->workArea().SpeedButton4, "click",
                                               Qt::QueuedConnection);
    };
    std::set<ProgressUnit> answeredDuring;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (!work().running()) return;
        answeredDuring.insert(work().unit());
        QTest::keyClicks(form->signInBar().Ed_Day, "9");
        QTest::mouseClick(form->workArea().SpeedButton4, Qt::LeftButton);
    });
    tick.start(0);
    download();
    tick.stop();
    ASSERT_TRUE(dialogs.boxes.empty()) << dialogs.boxes[0].text;
    EXPECT_TRUE(sawBytes);
    EXPECT_TRUE(queued);
    EXPECT_EQ(modal, form->findChild<ProgressDisplay*>());
    EXPECT_EQ(work().shownDisplay(), nullptr);
    EXPECT_EQ(answeredDuring, (std::set{ProgressUnit::Bytes, ProgressUnit::Rows}));
    EXPECT_EQ(form->signInBar().Ed_Day->text(), "1");
    EXPECT_EQ(products().recordCount(), kProducts);
    QApplication::processEvents();
    EXPECT_FALSE(form->suppliers().CDS_Fac.active());  // the suppliers were never asked for
}

// A stop between the rows of the comparison keeps the rows listed; a stop while the reply
// arrives is a failed exchange without its box: the last download's rows and list stay.
TEST_F(WorkProgressShown, StopsLeaveWhatAFailureAtThatPointLeaves) {
    work().setPace(0ms, 0ms);
    work().onStep = [&](std::uint64_t done, std::uint64_t) {
        if (work().unit() == ProgressUnit::Rows && done == 3)
            QTest::mouseClick(part<QPushButton>("ProgressStop"), Qt::LeftButton);
    };
    download();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(work().shownDisplay(), nullptr);
    ASSERT_EQ(products().recordCount(), 3);
    EXPECT_EQ(products().state(), ds::DataSetState::Browse);
    EXPECT_EQ(form->source().recNo(), 4);  // the row not looked at

    bool greyed = false;
    work().onStep = [&](std::uint64_t done, std::uint64_t) {
        if (work().unit() != ProgressUnit::Bytes || !work().shownDisplay()) return;
        if (done > 0) QTest::keyClick(work().shownDisplay(), Qt::Key_Escape);
        greyed = greyed || !part<QPushButton>("ProgressStop")->isEnabled();
    };
    download();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_TRUE(greyed);
    EXPECT_EQ(form->source().recordCount(), kProducts);
    EXPECT_EQ(products().recordCount(), 3);

    work().onStep = nullptr;  // stopped work leaves nothing behind for the next
    download();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(products().recordCount(), kProducts);
}

TEST_F(WorkProgressShown, WorkLeftToFinishListsWhatItListsWithoutTheDisplay) {
    form->showWorkProgress(false);
    download();
    const auto without = listedRows();
    ASSERT_EQ(without.size(), std::size_t(kProducts));

    form->showWorkProgress(true);
    work().setPace(0ms, 0ms);  // shown and brought up to date at every step
    bool shown = false;
    work().onStep = [&](std::uint64_t, std::uint64_t) { shown = shown || work().shownDisplay(); };
    download();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(listedRows(), without);
    EXPECT_EQ(form->source().recordCount(), kProducts);
}

}  // namespace
}  // namespace qor::window
