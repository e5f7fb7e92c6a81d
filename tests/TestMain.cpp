// The entry point of every test program. It makes the test process the reaper of its orphans: a
// program a test starts in the background, or a tmux server that detaches, stays in the test's
// process tree, so that when ctest stops a test at its time-out (it kills the whole tree), nothing
// the test started is left running.
#include <gtest/gtest.h>
#include <sys/prctl.h>

int main(int argc, char** argv) {
  prctl(PR_SET_CHILD_SUBREAPER, 1);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
