#include <gtest/gtest.h>

#include "../device/FakeDeviceClient.h"
#include "DevSettingsLanguage.h"
#include "device/DeviceInterface.h"
#include "devsettings/LocalClock.h"
#include "devsettings/ParameterTable.h"
#include "devsettings/RegisterCodec.h"
#include "devsettings/SettingsTransfer.h"
#include "support/FakeLinkClock.h"

namespace DI = DeviceInterface;

namespace {

// Local time that moves only with the link clock's sleeps.
class FakeLocalClock : public ILocalClock {
  public:
    FakeLocalClock(FakeLinkClock& link, QDateTime start) : m_link(link), m_start(std::move(start)) {}
    QDateTime LocalNow() override { return m_start.addMSecs(m_link.NowMs()); }

  private:
    FakeLinkClock& m_link;
    QDateTime m_start;
};

// Answers a refusal as the Modbus client does: the exception code lands in the buffer.
class ExceptionWritingClient : public FakeDeviceClient {
  public:
    int WriteMultipleRegisters(uint16_t first, uint16_t count, uint16_t* values, int timeoutMs) override {
        const int r = FakeDeviceClient::WriteMultipleRegisters(first, count, values, timeoutMs);
        if (r == -3)
            values[0] = 4;
        return r;
    }
};

class SettingsTransferTest : public ::testing::Test {
  protected:
    void SetUp() override {
        UseDevSettingsLanguage();
        table.BuildParameterTable();
        device.connected = true;
        // The device holds the factory block, then a few changes.
        CParameterTable factory;
        factory.BuildParameterTable();
        for (CMyProperty* row : factory.Rows())
            Put(*row);
        device.regs[2146] = 50000;
        device.regs[2062] = 0x0001;
        device.regs[2063] = 0x0009;  // event 1 on the frequency
        device.regs[2032] = 0;
        device.regs[2033] = 4990;
        device.regs[2123] = 'a';
        device.regs[2124] = 'b';
        for (int a = 2125; a <= 2128; ++a)
            device.regs[size_t(a)] = 0;
    }
    void Put(const CMyProperty& row) {
        uint16_t words[13];
        RegisterCodec::Encode(row, words);
        for (int i = 0; i < row.Binding().count; ++i)
            device.regs[size_t(row.Binding().address + i)] = words[i];
    }
    DeviceAccess Access() { return {&device, LinkState::Connected, 0}; }
    CParameterTable table;
    ExceptionWritingClient device;
};

TEST_F(SettingsTransferTest, ReadAllReadsRowByRowInGridOrder) {
    std::vector<int> progress;
    TransferCallbacks callbacks;
    callbacks.progress = [&](int p) { progress.push_back(p); };
    const TransferResult r = SettingsTransfer::ReadAll(table, Access(), callbacks);
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(device.reads.size(), 126u);
    const auto rows = table.Rows();
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(device.reads[i].first, rows[i]->Binding().address);
        EXPECT_EQ(device.reads[i].count, rows[i]->Binding().count);
    }
    EXPECT_EQ(progress, (std::vector<int>{5,  10, 15, 20, 25, 30, 35, 40, 45, 50,
                                          55, 60, 65, 70, 75, 80, 85, 90, 95, 100}));
    EXPECT_EQ(device.lastTimeoutMs, DI::kRequestTimeoutMs);

    EXPECT_EQ(table.FindByAddress(2146)->Value(), 50000);  // unsigned register
    EXPECT_EQ(table.FindByAddress(2123)->FormatValue(), "\"ab\"");
    EXPECT_EQ(table.FindByAddress(2032)->FormatValue(),
              "49.90");  // clamped against the source read before it
    EXPECT_TRUE(table.FindByAddress(2146)->ModifiedMark());
    EXPECT_FALSE(table.FindByAddress(2165)->ModifiedMark());

    // "*" clears the marks; a later read marks only what differs from the accepted values.
    table.AcceptAll();
    device.regs[2165] = 8080;
    ASSERT_TRUE(SettingsTransfer::ReadAll(table, Access()).ok);
    for (const CMyProperty* row : table.Rows())
        EXPECT_EQ(row->ModifiedMark(), row->Binding().address == 2165) << row->Binding().address;
}

TEST_F(SettingsTransferTest, SignedRegistersAreSignExtended) {
    device.regs[2000] = uint16_t(-123);
    ASSERT_TRUE(SettingsTransfer::ReadAll(table, Access()).ok);
    EXPECT_EQ(table.FindByAddress(2000)->Value(), -123);
    EXPECT_EQ(table.FindByAddress(2000)->FormatValue(), "-12.3");
}

TEST_F(SettingsTransferTest, NothingIsSentWithoutAUsableDevice) {
    for (const DeviceAccess& access :
         {DeviceAccess{nullptr, LinkState::Connected, 0}, DeviceAccess{&device, LinkState::Reconnecting, 0},
          DeviceAccess{&device, LinkState::Connected, -1}}) {
        EXPECT_TRUE(SettingsTransfer::ReadAll(table, access).notPossible);
        EXPECT_TRUE(SettingsTransfer::WriteAll(table, access).notPossible);
        FakeLinkClock link;
        FakeLocalClock local(link, QDateTime(QDate(2024, 1, 1), QTime(0, 0)));
        EXPECT_TRUE(SettingsTransfer::SynchroniseClock(access, local, link).notPossible);
    }
    EXPECT_TRUE(device.reads.empty());
    EXPECT_TRUE(device.writes.empty());
}

TEST_F(SettingsTransferTest, ReadRetriesFiveTimesThenAsks) {
    int failures = 7;
    device.readHook = [&](uint16_t first, uint16_t) {
        return first == 2146 && failures-- > 0 ? -2 : FakeDeviceClient::kAnswer;
    };
    std::vector<std::pair<int, int>> asked;
    TransferCallbacks callbacks;
    callbacks.retryRead = [&](int address, int count) {
        asked.push_back({address, count});
        return true;
    };
    const TransferResult r = SettingsTransfer::ReadAll(table, Access(), callbacks);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{2146, 1}}));
    EXPECT_EQ(r.requests, 126 + 7);
}

TEST_F(SettingsTransferTest, WriteAllEndsWithTheApplyCommand) {
    table.FindByAddress(2146)->SetValue(1502);
    table.FindByAddress(2135)->ParseText("10.1.2.3");
    table.FindByAddress(2148)->SetText("ab");
    const TransferResult r = SettingsTransfer::WriteAll(table, Access());
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(device.writes.size(), 127u);
    EXPECT_EQ(device.writes.back().first, DI::kRegCommand);
    EXPECT_EQ(device.writes.back().second, std::vector<uint16_t>{18220});
    auto written = [&](int address) {
        for (const auto& w : device.writes)
            if (w.first == address)
                return w.second;
        return std::vector<uint16_t>{};
    };
    EXPECT_EQ(written(2146), std::vector<uint16_t>{1502});
    EXPECT_EQ(written(2135), (std::vector<uint16_t>{0x0302, 0x010A}));
    EXPECT_EQ(written(2148), (std::vector<uint16_t>{'a', 'b', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(written(2073), (std::vector<uint16_t>{0xFFFF, 0xFFFF}));
    EXPECT_EQ(written(2115), (std::vector<uint16_t>{0x0100, 0x0000}));
    for (const CMyProperty* row : table.Rows())
        EXPECT_FALSE(row->ModifiedMark());
}

TEST_F(SettingsTransferTest, ARefusedBlockStopsTheWriteBeforeTheApplyCommand) {
    table.FindByAddress(2000)->SetValue(5);     // group 1, before the refused block
    table.FindByAddress(2146)->SetValue(1502);  // the refused block
    table.FindByAddress(2165)->SetValue(8080);  // after it
    std::vector<std::pair<int, int>> asked;
    int buffersSeen = 0;
    device.writeResult = [&](uint16_t first, uint16_t count) {
        if (first != 2146)
            return int(count);
        ++buffersSeen;
        return -3;
    };
    // The client leaves the exception code in the buffer: each try must send the value again.
    TransferCallbacks callbacks;
    callbacks.retryWrite = [&](int address, int count) {
        asked.push_back({address, count});
        return asked.size() < 2;  // Retry once, then Cancel
    };
    const TransferResult r = SettingsTransfer::WriteAll(table, Access(), callbacks);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.failedAddress, 2146);
    EXPECT_EQ(r.failedCount, 1);
    EXPECT_EQ(r.exceptionCode, 4);
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{2146, 1}, {2146, 1}}));
    EXPECT_EQ(buffersSeen, 10);
    for (const auto& w : device.writes) {
        EXPECT_NE(w.first, DI::kRegCommand);
        if (w.first == 2146) {
            EXPECT_EQ(w.second, std::vector<uint16_t>{1502});
        }
    }
    EXPECT_FALSE(table.FindByAddress(2000)->ModifiedMark());  // written: accepted
    EXPECT_TRUE(table.FindByAddress(2146)->ModifiedMark());   // refused: still marked
    EXPECT_TRUE(table.FindByAddress(2165)->ModifiedMark());   // never reached
}

TEST_F(SettingsTransferTest, AnUnacknowledgedApplyFailsTheWrite) {
    device.writeResult = [](uint16_t first, uint16_t count) {
        return first == DI::kRegCommand ? 0 : int(count);
    };
    const TransferResult r = SettingsTransfer::WriteAll(table, Access());
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.applyFailed);
}

TEST_F(SettingsTransferTest, ClockStartsAfterASecondBoundary) {
    FakeLinkClock link;
    // 400 ms before midnight: the write waits for 2024-01-01 00:00:00.
    FakeLocalClock local(link, QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59, 600)));
    const ClockResult r = SettingsTransfer::SynchroniseClock(Access(), local, link);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.deviceTime, 1388534401u);
    ASSERT_EQ(device.writes.size(), 1u);
    EXPECT_EQ(device.writes[0].first, DI::kRegClock);
    EXPECT_EQ(device.writes[0].second, (std::vector<uint16_t>{0x52C3, 0x5A81}));
    EXPECT_EQ(link.TakeSleeps().size(), 400u);
}

TEST_F(SettingsTransferTest, ClockTriesFiveTimesThenAsks) {
    FakeLinkClock link;
    FakeLocalClock local(link, QDateTime(QDate(2024, 1, 1), QTime(0, 0)));
    device.writeResult = [](uint16_t, uint16_t) { return -2; };
    int asked = 0;
    TransferCallbacks callbacks;
    callbacks.retryClock = [&] { return ++asked < 2; };
    const ClockResult r = SettingsTransfer::SynchroniseClock(Access(), local, link, callbacks);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(device.writes.size(), 10u);

    // A local clock that stands still cannot hold the command.
    class StillClock : public ILocalClock {
      public:
        QDateTime LocalNow() override { return QDateTime(QDate(2024, 1, 1), QTime(0, 0)); }
    } still;
    device.writeResult = {};
    EXPECT_TRUE(SettingsTransfer::SynchroniseClock(Access(), still, link).ok);
}

}  // namespace
