// The texts, captions and icons of the message boxes, the handler boundary and the hourglass.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

#include "qt_printing.h"
#include "recording_dialogs.h"
#include "text/cp950.h"
#include "text/errors.h"
#include "window/big5_qt.h"
#include "window/handler_boundary.h"
#include "window/hourglass_cursor.h"
#include "window/message_rules.h"
#include "window/qt_dialogs.h"
#include "window/work_display.h"

namespace qor::window {
namespace {

TEST(ErrorBoxText, AddsAFullStopOnlyAfterACharacterSortingAfterTheStop) {
    EXPECT_EQ(errorBoxText("ClientDataSet1: Cannot perform this operation on a closed dataset"),
              "ClientDataSet1: Cannot perform this operation on a closed dataset.");
    EXPECT_EQ(errorBoxText("value 42"), "value 42.");
    EXPECT_EQ(errorBoxText("a:"), "a:.");
    EXPECT_EQ(errorBoxText("<RESULT>x</RESULT>"), "<RESULT>x</RESULT>.");
    // ".", "!", ")", a blank and everything sorting before "." get none.
    EXPECT_EQ(errorBoxText("done."), "done.");
    EXPECT_EQ(errorBoxText(QOR_BIG5("代號或識別碼錯誤..!")), QOR_BIG5("代號或識別碼錯誤..!"));
    EXPECT_EQ(errorBoxText("(see above)"), "(see above)");
    EXPECT_EQ(errorBoxText("trailing "), "trailing ");
    EXPECT_EQ(errorBoxText("a-b-"), "a-b-");
    EXPECT_EQ(errorBoxText(""), "");
}

TEST(ErrorBoxText, ADoubleByteCharacterAtTheEndGetsAFullStop) {
    EXPECT_EQ(errorBoxText(QOR_BIG5("錯誤")), QOR_BIG5("錯誤") + ".");
    // "功" ends in the byte 0x5C ("\" on its own), still part of a character after ".".
    EXPECT_EQ(errorBoxText(QOR_BIG5("成功")), QOR_BIG5("成功") + ".");
}

TEST(ProgramTitle, IsTheFileNameUpToTheFirstDotWithTheRestInSmallLetters) {
    EXPECT_EQ(programTitle("/opt/qor/bin/QorClient"), "Qorclient");
    EXPECT_EQ(programTitle("C:/Program Files/QORCLIENT.EXE"), "Qorclient");
    EXPECT_EQ(programTitle("/x/qor.client.exe"), "qor");
    EXPECT_EQ(programTitle("/x/Q"), "Q");
    EXPECT_EQ(programTitle("/x/.hidden"), "");
}

TEST(Big5AtTheScreen, RoundTripsTheWindowsCaptions) {
    const std::string bytes = QOR_BIG5("商品資料");
    EXPECT_EQ(bytes, std::string("\xb0\xd3\xab\x7e\xb8\xea\xae\xc6"));
    EXPECT_EQ(toQString(bytes), QString::fromUtf8("商品資料"));
    EXPECT_EQ(fromQString(QString::fromUtf8("商品資料")), bytes);
    EXPECT_EQ(fromQString(QStringLiteral("O'NE")), "O'NE");
}

// The box that a modal exec() puts up, read and closed from inside its own loop.
struct ShownBox {
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

template <typename Show>
ShownBox capture(Show show) {
    ShownBox seen;
    QTimer::singleShot(0, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.caption = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
        box->accept();
    });
    show();
    return seen;
}

TEST(QtDialogs, ShowTheThreeKindsOfBox) {
    QtDialogs dialogs;
    const QString title = programTitle(QCoreApplication::applicationFilePath());
    ASSERT_EQ(title, "window_tests");

    ShownBox error = capture([&] { dialogs.showError(QOR_BIG5("找不到")); });
    EXPECT_EQ(error.caption, title);
    EXPECT_EQ(error.icon, QMessageBox::Critical);
    EXPECT_EQ(error.text, QString::fromUtf8("找不到."));
    EXPECT_EQ(error.buttons, QStringList{"OK"});

    ShownBox plain = capture([&] { dialogs.showMessage(QOR_BIG5("台北店您好!!")); });
    EXPECT_EQ(plain.caption, title);
    EXPECT_EQ(plain.icon, QMessageBox::NoIcon);
    EXPECT_EQ(plain.text, QString::fromUtf8("台北店您好!!"));
    EXPECT_EQ(plain.buttons, QStringList{"OK"});

    ShownBox warning = capture([&] { dialogs.showWarning(QOR_BIG5("代號或識別碼錯誤..!")); });
    EXPECT_EQ(warning.caption, "Warning");
    EXPECT_EQ(warning.icon, QMessageBox::Warning);
    EXPECT_EQ(warning.text, QString::fromUtf8("代號或識別碼錯誤..!"));
    EXPECT_EQ(warning.buttons, QStringList{"OK"});
}

// A box raised during work that shows its progress stands alone; if the work goes on, so
// does its display.
TEST(QtDialogs, ABoxRaisedDuringShownWorkPutsTheProgressAside) {
    QWidget window;
    WorkDisplay work(window);
    work.setPace(std::chrono::milliseconds(0), std::chrono::milliseconds(0));
    QtDialogs dialogs;
    dialogs.setOwner(&window);
    const NamedWork shown(&work, QOR_BIG5("匯入商品"), ProgressUnit::Rows);
    work.checkpoint(1, 4);
    ASSERT_NE(work.shownDisplay(), nullptr);

    bool aside = false;
    QTimer::singleShot(0, [&] { aside = work.shownDisplay() == nullptr; });
    ShownBox box = capture([&] { dialogs.showError(QOR_BIG5("資料寫入失敗..!")); });
    EXPECT_EQ(box.text, QString::fromUtf8("資料寫入失敗..!"));
    EXPECT_TRUE(aside);
    work.checkpoint(2, 4);
    EXPECT_NE(work.shownDisplay(), nullptr);
}

TEST(HandlerBoundary, TurnsErrorsIntoTheErrorBoxAndSilentAbortsIntoNothing) {
    test::RecordingDialogs dialogs;
    bool ran = false;
    runHandler(dialogs, [&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(dialogs.boxes.empty());

    runHandler(dialogs, [] { throw qor::SilentAbort(); });
    EXPECT_TRUE(dialogs.boxes.empty());

    runHandler(dialogs, [] { throw qor::Error(QOR_BIG5("錯誤")); });
    runHandler(dialogs, [] { throw std::runtime_error("I/O error"); });
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].kind, test::Box::Error);
    EXPECT_EQ(dialogs.boxes[0].text, QOR_BIG5("錯誤"));
    EXPECT_EQ(dialogs.boxes[1].text, "I/O error");
}

TEST(HourglassCursor, IsRestoredOnEveryWayOut) {
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    {
        HourglassCursor hourglass;
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    test::RecordingDialogs dialogs;
    runHandler(dialogs, [] {
        HourglassCursor hourglass;
        throw qor::Error("write failed");
    });
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(dialogs.boxes.size(), 1u);
}

}  // namespace
}  // namespace qor::window
