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
    int setInputMedia(const QString& path) override {
        calls.push_back("input " + path.toStdString());
        return inputResult;
    }
    int setOutputPath(const QString& path) override {
        calls.push_back("output " + path.toStdString());
        return 1;
    }
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
    int inputResult = 1;
};

} // namespace

TEST(WorkerSetUpJob, TheSetUpRunsWhenTheJobStartsAndAFailureFailsTheStart) {
    struct Case {
        int inputCode;
        int setUpCode;
        bool stopFirst;
        int started;
        std::vector<std::string> calls;
    };
    const std::vector<Case> cases = {
        // The input, the window's set-up, the output, then the job itself.
        {1, 1, false, 0, {"input in.mp4", "setUp", "output out.mp4", "start"}},
        {1, -7, false, -7, {"input in.mp4", "setUp"}},                // a refused clip fails the start with its code
        {1, 0, false, -1, {"input in.mp4", "setUp"}},                 // 0 never reads as a join's success
        {0, 1, false, -1, {"input in.mp4"}},                          // an input that cannot be read goes no further
        {1, -7, true, 0, {"stop", "input in.mp4", "setUp", "start"}}, // stopped meanwhile: a cancel, as ever
    };
    for (const Case& c : cases) {
        auto inner = std::make_shared<RecordingJob>();
        inner->inputResult = c.inputCode;
        WorkerSetUpJob job(inner);
        EXPECT_EQ(job.setInputMedia("in.mp4"), 1);
        EXPECT_EQ(WorkerSetUpJob::setUpOnWorker(job,
                                                [&](MediaJob& engine) {
                                                    EXPECT_EQ(&engine, inner.get())
                                                        << "the set-up works on the engine's job";
                                                    inner->calls.push_back("setUp");
                                                    return c.setUpCode;
                                                }),
                  1);
        EXPECT_EQ(job.setOutputPath("out.mp4"), 1);
        EXPECT_TRUE(inner->calls.empty()) << "nothing reaches the engine before the start";
        EXPECT_DOUBLE_EQ(job.progress(), 0) << "the engine's job is left alone until it is set up";
        if (c.stopFirst)
            job.stop();
        EXPECT_EQ(job.start(), c.started) << c.inputCode << " " << c.setUpCode;
        EXPECT_EQ(inner->calls, c.calls) << c.inputCode << " " << c.setUpCode;
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
    // Once started, a wrapped job reports the engine job's progress.
    auto inner = std::make_shared<RecordingJob>();
    WorkerSetUpJob job(inner);
    EXPECT_EQ(job.start(), 0);
    EXPECT_DOUBLE_EQ(job.progress(), 50);
}
