// The document over a plain image, and the form's document telling each
// change once.

#include "WindowFixture.h"

#include "app/Document.h"
#include "app/views/MapTableWindow.h"
#include "device/DeviceSession.h"
#include "edit/UndoHistory.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QSignalSpy>
#include <QTableView>
#include <QToolBar>

namespace orna5::test {
namespace {

// An image with an undo ring and a session on no port: all a view needs.
class BareHost : public DocumentHost {
public:
    explicit BareHost(const ParameterImage& start) : image(start), session(image) {
        undo.InitUndoHistory(image, 0);
    }

    const ParameterImage& Image() const override { return image; }
    void ChangeImage(const std::function<void(ParameterImage&)>& change) override {
        change(image);
        Shown();
    }
    void OpenImage(const ParameterImage& opened, bool) override {
        image = opened;
        Shown();
    }
    void RestoreToUnit(const ParameterImage&, std::function<QString(int)>) override {}
    bool UnitBytesInWindow() const override { return false; }
    DeviceSession& Session() override { return session; }
    const DeviceSession& Session() const override { return session; }
    int Language() const override { return 0; }
    bool CanUndoEdit() const override { return undo.CanUndo(); }
    bool CanRedoEdit() const override { return undo.CanRedo(); }
    void UndoEdit() override { Take(undo.Undo()); }
    void RedoEdit() override { Take(undo.Redo()); }
    QWidget* ViewParent() override { return nullptr; }
    QStatusBar* StatusBar() override { return nullptr; }
    QWidget* MapControl(std::size_t) override { return nullptr; }

    ParameterImage image;
    DeviceSession session;
    UndoHistory undo;
    Document* document = nullptr;

private:
    void Shown() {
        undo.RecordUndoState(image, 0);
        document->HostShowed();
        document->HostUndoChanged();
    }
    void Take(const UndoState* state) {
        if (!state)
            return;
        image = state->image;
        document->HostShowed();
        document->HostUndoChanged();
    }
};

} // namespace

// The map table, built over a plain image, keeps the model contract through
// edits, a change of the rows in use and undo; its Undo is the host's.
TEST_F(WindowTest, TheMapTableStandsOnAPlainImage) {
    BareHost host(DefaultImage());
    Document document(host);
    host.document = &document;
    MapTableWindow table(document);
    auto* view = table.findChild<QTableView*>("TableMap");
    ASSERT_NE(view, nullptr);
    QAbstractItemModelTester tester(view->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy shown(&document, &Document::ImageShown);
    auto* undo = table.findChild<QToolBar*>("ToolBarMapTable")->actions().value(0);
    ASSERT_NE(undo, nullptr);
    EXPECT_FALSE(undo->isEnabled());

    ASSERT_EQ(host.image[field::mapUsesTps], 0);
    ASSERT_EQ(view->model()->rowCount(), 1);
    ASSERT_TRUE(view->model()->setData(view->model()->index(0, 4), 31));
    EXPECT_EQ(host.image[MapCell(9, 4)], 31);
    EXPECT_EQ(shown.count(), 1);
    EXPECT_TRUE(undo->isEnabled());

    // All ten throttle rows: the table resets to them.
    document.ChangeImage([](ParameterImage& image) { image[field::mapUsesTps] = 1; });
    EXPECT_EQ(view->model()->rowCount(), 10);
    // The same change again is no change: no redraw.
    document.ChangeImage([](ParameterImage& image) { image[field::mapUsesTps] = 1; });
    EXPECT_EQ(shown.count(), 2);

    undo->trigger();
    undo->trigger();
    EXPECT_EQ(view->model()->rowCount(), 1);
    EXPECT_EQ(view->model()->index(0, 4).data().toInt(), DefaultImage()[MapCell(9, 4)]);
    EXPECT_FALSE(undo->isEnabled());
}

// One edit in the form is one ImageShown for the views, though the form
// shows its controls more than once for it; an operation's end reaches the
// document with its outcome.
TEST_F(WindowTest, TheFormTellsItsDocumentEachChangeOnce) {
    auto window = Start();
    QSignalSpy shown(&window->Doc(), &Document::ImageShown);
    Enter(*window, "Edit141", "27");
    EXPECT_EQ(shown.count(), 1);
    ClickUpDown(*window, "UpDown141", true);
    EXPECT_EQ(shown.count(), 2);
    window->Doc().ChangeImage([](ParameterImage& image) { image[MapCell(9, 5)] = 12; });
    EXPECT_EQ(shown.count(), 3);

    QSignalSpy ended(&window->Doc(), &Document::OperationEnded);
    Find<QAction>(*window, "MenuRead")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ended.count() == 1; }, 10000));
    const auto outcome = ended.at(0).at(0).value<OperationOutcome>();
    EXPECT_EQ(outcome.operation, Operation::Read);
    EXPECT_EQ(outcome.outcome, Outcome::Success);
}

} // namespace orna5::test
