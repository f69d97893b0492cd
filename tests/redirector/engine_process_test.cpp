#include "recorder.h"

#include "engine/engine_process.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(EngineProcess, JoinsBothPipesAndReportsTheExitCode) {
    TEngineProcess runner;
    QByteArray output;
    int ends = 0;
    bool activeAtEnd = true;
    runner.SetHandlers([&](const char* bytes, int64_t count) { output += QByteArray(bytes, count); },
                       [&] {
                           ++ends;
                           activeAtEnd = runner.Active();
                       });
    runner.SetPriority(TEnginePriority::Idle);
    runner.SetCommandLine(ScriptedChild({"err:error line\n", "nice", "exit:1"}));
    runner.Execute();
    ASSERT_TRUE(WaitUntil([&] { return ends == 1; }));
    // Blocks of the two pipes keep their own order only.
    QList<QByteArray> lines = output.split('\n');
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (QList<QByteArray>{"", "error line", "nice:19"}));
    EXPECT_FALSE(activeAtEnd);
    EXPECT_TRUE(runner.ProcessEnded());
    EXPECT_EQ(runner.ExitCode(), 1);
}

TEST(EngineProcess, DetachedTerminationBooksNothing) {
    TEngineProcess runner;
    int ends = 0;
    runner.SetHandlers({}, [&] { ++ends; });
    runner.SetCommandLine(ScriptedChild({"block"}));
    runner.Execute();
    runner.DetachTermination();
    runner.Terminate(0);
    ASSERT_TRUE(WaitUntil([&] { return !runner.Active(); }));
    EXPECT_EQ(ends, 0);
    EXPECT_NE(runner.ExitCode(), 0);
}
