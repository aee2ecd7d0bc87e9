#include "WorkerSetUpJob.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A join that records what is asked of it.
class RecordingJob : public MediaJob {
public:
    Kind kind() const override { return Kind::Join; }
    void* handle() const override { return nullptr; }
    int setInputMedia(const QString&) override { return 1; }
    int setOutputPath(const QString&) override { return 1; }
    int start() override {
        calls.push_back("start");
        return startResult;
    }
    bool startSucceeded(int result) const override { return result >= 0; }
    double progress() override {
        calls.push_back("progress");
        return 50;
    }
    int stop() override {
        calls.push_back("stop");
        return 1;
    }
    int close() override { return 1; }

    std::vector<std::string> calls;
    int startResult = 0;
};

} // namespace

TEST(WorkerSetUpJob, TheSetUpRunsWhenTheJobStartsAndAFailureFailsTheStart) {
    struct Case {
        int setUpCode;
        bool stopFirst;
        int started;
        std::vector<std::string> calls;
    };
    const std::vector<Case> cases = {
        {1, false, 0, {"setUp", "start"}},         // set up, then the job itself
        {-7, false, -7, {"setUp"}},                // a refused clip fails the start with its code
        {0, false, -1, {"setUp"}},                 // 0 never reads as a join's success
        {-7, true, 0, {"stop", "setUp", "start"}}, // stopped meanwhile: a cancel, as ever
    };
    for (const Case& c : cases) {
        auto inner = std::make_shared<RecordingJob>();
        WorkerSetUpJob job(inner);
        EXPECT_EQ(WorkerSetUpJob::setUpOnWorker(job,
                                                [&](MediaJob& engine) {
                                                    EXPECT_EQ(&engine, inner.get())
                                                        << "the set-up works on the engine's job";
                                                    inner->calls.push_back("setUp");
                                                    return c.setUpCode;
                                                }),
                  1)
            << "nothing runs before the start";
        EXPECT_TRUE(inner->calls.empty());
        EXPECT_DOUBLE_EQ(job.progress(), 0) << "the engine's job is left alone until it is set up";
        if (c.stopFirst)
            job.stop();
        EXPECT_EQ(job.start(), c.started) << c.setUpCode;
        EXPECT_EQ(inner->calls, c.calls) << c.setUpCode;
    }
}

TEST(WorkerSetUpJob, AnyOtherJobIsSetUpAtOnce) {
    RecordingJob plain;
    int ran = 0;
    EXPECT_EQ(WorkerSetUpJob::setUpOnWorker(plain,
                                            [&](MediaJob&) {
                                                ++ran;
                                                return -3;
                                            }),
              -3);
    EXPECT_EQ(ran, 1);
    // Without a set-up a wrapped job is the job itself.
    auto inner = std::make_shared<RecordingJob>();
    WorkerSetUpJob job(inner);
    EXPECT_DOUBLE_EQ(job.progress(), 50);
    EXPECT_EQ(job.start(), 0);
}
