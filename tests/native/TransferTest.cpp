// Starting, cancelling and failing transfers: the boxes, their order, the
// port's life and the link mode.
#include <gtest/gtest.h>

#include "fakes/AppFakes.h"
#include "link/BytePort.h"

namespace {

class CountingPort : public BytePort {
public:
    explicit CountingPort(int* closes) : closes_(closes) {}
    bool queued(std::size_t& count) override { return count = 0, true; }
    bool read(std::uint8_t*, std::size_t, std::size_t& got) override { return got = 0, true; }
    bool write(const std::uint8_t*, std::size_t) override { return true; }
    void close() override { ++*closes_; }

private:
    int* closes_;
};

struct TransferHarness : AppHarness {
    explicit TransferHarness(Model model = Model::Korvel) : AppHarness(model) {}
    void givePort() { link.nextPort = std::make_unique<CountingPort>(&closes); }
    std::vector<std::string> boxTexts() const { return boxes.texts(); }
    int closes = 0;
};

TEST(Transfer, PortThatCannotBeOpenedShowsTheReasonThenTheWarning) {
    TransferHarness h;
    h.window.portBox = "COM_WITH_A_VERY_LONG_NAME_INDEED";
    h.app.command(kIdRecv);
    EXPECT_EQ(h.link.opened, (std::vector<std::string>{"COM_WITH_A_VERY_LON"}));  // 19 characters
    ASSERT_EQ(h.boxTexts(), (std::vector<std::string>{"system reason", "text16"}));
    EXPECT_EQ(h.boxes.shown[0].caption, "Error");
    EXPECT_EQ(h.boxes.shown[0].owner, BoxOwner::None);
    EXPECT_EQ(h.boxes.shown[0].icon, BoxIcon::Information);
    EXPECT_EQ(h.boxes.shown[1].caption, "Warning");
    EXPECT_EQ(h.boxes.shown[1].icon, BoxIcon::Warning);
    EXPECT_EQ(h.app.mode(), LinkMode::Idle);
    EXPECT_EQ(h.window.caption, "text7");
}

TEST(Transfer, StartThenCancelStopsTheWorkerBeforeTheWarningAndClosesThePort) {
    TransferHarness h;
    h.givePort();
    h.app.command(kIdSend);
    EXPECT_EQ(h.app.mode(), LinkMode::Sending);
    EXPECT_EQ(h.window.caption, "text11");
    EXPECT_EQ(h.window.texts[kIdSend], "text8");
    EXPECT_TRUE(h.link.running);
    EXPECT_TRUE(h.boxes.shown.empty());

    h.app.command(kIdSend);  // now "Cancel"
    EXPECT_EQ(h.link.stops, 1);
    EXPECT_EQ(h.boxTexts(), (std::vector<std::string>{"text16"}));
    EXPECT_EQ(h.closes, 1);
    EXPECT_FALSE(h.app.transferRunning());
    EXPECT_EQ(h.app.mode(), LinkMode::Idle);

    h.givePort();  // a second transfer on the same port starts afresh
    h.app.command(kIdRecv);
    EXPECT_EQ(h.app.mode(), LinkMode::Receiving);
    EXPECT_EQ(h.link.opened.size(), 2u);
}

TEST(Transfer, WorkerFailuresShowTheirCauseThenTheWarning) {
    struct Case {
        int textId;
        const char* first;
        BoxOwner owner;
        BoxIcon icon;
    } cases[] = {{kTextFrameHeadError, "text13", BoxOwner::MainWindow, BoxIcon::None},
                 {0, "The device is gone.", BoxOwner::None, BoxIcon::Information}};
    for (const Case& c : cases) {
        TransferHarness h;
        h.givePort();
        h.app.command(kIdRecv);
        h.app.pointArrived(h.point("P1", 1, 2, 3));  // posted before the failure
        h.app.transferFailed(c.textId, "The device is gone.");
        ASSERT_EQ(h.boxTexts(), (std::vector<std::string>{c.first, "text16"}));
        EXPECT_EQ(h.boxes.shown[0].caption, "Error");
        EXPECT_EQ(h.boxes.shown[0].owner, c.owner);
        EXPECT_EQ(h.boxes.shown[0].icon, c.icon);
        EXPECT_EQ(h.closes, 1);
        EXPECT_EQ(h.app.mode(), LinkMode::Idle);
        EXPECT_EQ(h.list.rows.size(), 1u);  // received points stay

        h.app.transferFailed(c.textId, "late");  // an old report changes nothing
        EXPECT_EQ(h.boxes.shown.size(), 2u);
    }
}

TEST(Transfer, WorkerThatCannotStartEndsLikeAFailedOpen) {
    TransferHarness h;
    h.givePort();
    h.link.failStart = true;
    h.app.command(kIdRecv);
    EXPECT_EQ(h.boxTexts(), (std::vector<std::string>{"system reason", "text16"}));
    EXPECT_EQ(h.closes, 1);
    EXPECT_EQ(h.app.mode(), LinkMode::Idle);
}

TEST(Transfer, SendOfAListTheInstrumentCannotTakeIsRefusedBeforeTheLineIsTouched) {
    TransferHarness big(Model::Korvel);
    big.app.beginRowBatch();
    for (int i = 0; i < 10000; ++i) big.app.appendRow(big.point("P", i, 0, 0));
    big.app.endRowBatch();
    big.givePort();
    big.app.command(kIdSend);
    EXPECT_EQ(big.boxTexts(), (std::vector<std::string>{"text45"}));
    EXPECT_TRUE(big.link.opened.empty());
    EXPECT_EQ(big.app.mode(), LinkMode::Idle);
    EXPECT_EQ(big.window.caption, "template caption");

    for (Model model : {Model::Korvel, Model::Tassin}) {
        TransferHarness h(model);
        h.app.appendRow(h.point("OK", 1, 2, 3));
        h.app.appendRow(h.point("FAR", 1e13, 2, 3));
        h.givePort();
        h.app.command(kIdSend);
        EXPECT_EQ(h.boxTexts(), (std::vector<std::string>{"text46"}));
        EXPECT_TRUE(h.link.opened.empty());
        EXPECT_EQ(h.app.mode(), LinkMode::Idle);

        h.app.command(kIdRecv);  // receiving is never refused
        EXPECT_EQ(h.app.mode(), LinkMode::Receiving);
    }
}

}  // namespace
