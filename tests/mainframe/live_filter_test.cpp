#include "acquisition/acquisition_fixture.h"

#include "app/app_settings.h"
#include "device/protocol.h"
#include "files/csv_export.h"
#include "files/job_file.h"
#include "plot/layers.h"

#include <wx/listctrl.h>

#include <sstream>

namespace {

class LiveFilterTest : public AcquisitionTest {
protected:
    void SetUp() override {
        AcquisitionTest::SetUp();
        SetLoggerRate(0xFE67);  // 100 ms
        // A signal that changes with every sample, so that filtered and raw values differ; every
        // sample the logger produces is noted.
        logger->SetSignal([this](double t) {
            const long tenths = std::lround(t * 10);
            RawSample s{static_cast<std::uint16_t>(100 + tenths * 37 % 200),
                        static_cast<std::uint16_t>(200 + tenths * 13 % 300)};
            produced.push_back(s);
            return s;
        });
    }
    // The user highlights row 0, as a click on it does. The list keeps a highlight while the
    // recording goes on, so a row still highlighted from before is let go first (a click beside it).
    void HighlightLiveRow() {
        wxListView* list = frame->RecordList();
        list->Select(0, false);
        PumpEvents(2);
        list->Focus(0);
        list->Select(0);
        PumpEvents(2);
    }
    std::vector<RawSample> produced;
};

}  // namespace

TEST_F(LiveFilterTest, FilterSwitchedOnAndOffWhileRecordingLosesNoSample) {
    Command(ID_SHOW_FLOW, wxEVT_BUTTON);
    Button(ID_RECORD);
    ASSERT_TRUE(log->Errors().empty());
    const Storage& live = frame->Records()[0];
    for (int tick = 1; tick <= 30; ++tick) {
        clock.Advance(1.0);
        LiveTick();
        if (tick == 10) {
            HighlightLiveRow();
            Button(ID_FILTER);
            EXPECT_TRUE(live.IsFiltered());
            EXPECT_TRUE(frame->FilterOn());
        }
        if (tick == 20) {
            // Highlighting the record again shows it unfiltered.
            HighlightLiveRow();
            EXPECT_FALSE(live.IsFiltered());
        }
        EXPECT_EQ(live.IsFiltered(), tick >= 10 && tick < 20) << tick;
        ASSERT_EQ(live.Flows().size(), live.Times().size()) << tick;
        ASSERT_EQ(live.Pressures().size(), live.Times().size()) << tick;
        ASSERT_EQ(live.Volumes().size(), live.Times().size()) << tick;
        EXPECT_EQ(frame->FlowSeries()->PointCount(), live.SampleCount()) << tick;
    }
    Button(ID_STOP);

    // Every sample that arrived, unfiltered, as a record without the filter holds them.
    ASSERT_EQ(live.SampleCount(), 300);
    ASSERT_EQ(produced.size(), 300u);
    Storage expected(live.DateText(), 100, 1, false, AppSettings.flowUnit, 0);
    expected.SetPressureCalibration(104, 2, 26, 98);
    for (const RawSample& s : produced)
        expected.AddRawSample(s.flow, s.pressure);
    EXPECT_EQ(live.Times(), expected.Times());
    EXPECT_EQ(live.Flows(), expected.Flows());
    EXPECT_EQ(live.Pressures(), expected.Pressures());
    EXPECT_EQ(live.Volumes(), expected.Volumes());

    // It saves and exports whole.
    std::stringstream job;
    ASSERT_TRUE(jobfile::Write(job, frame->Records()));
    const jobfile::ReadResult back = jobfile::Read(job);
    EXPECT_FALSE(back.damaged) << back.problem;
    ASSERT_EQ(back.records.size(), 1u);
    ASSERT_EQ(back.records[0].SampleCount(), 300);
    for (int i = 0; i < 300; ++i) {
        EXPECT_NEAR(back.records[0].GetSample(i).flow, expected.GetSample(i).flow, 1e-5) << i;
        EXPECT_NEAR(back.records[0].GetSample(i).volume, expected.GetSample(i).volume, 1e-3) << i;
    }
    std::ostringstream csv;
    ASSERT_TRUE(csvexport::Write(csv, live, U8("export.csv")));
    std::istringstream lines(csv.str());
    std::string line, last;
    int samples = 0;
    while (std::getline(lines, line)) {
        EXPECT_EQ(line.find("nan"), std::string::npos) << line;
        EXPECT_EQ(line.find("inf"), std::string::npos) << line;
        if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0])))
            ++samples, last = line;
    }
    EXPECT_EQ(samples, 300);
    EXPECT_EQ(last.substr(0, last.find(',')), "30.00");
}
