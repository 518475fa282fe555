// The temporary folder of one test program's process, made at its start below the build's
// testtmp folder: test programs (and shards of one program) run side by side and must not write
// each other's files. It is removed at the end when every test passed, kept to be looked at when
// one failed. Every test program includes this header through its compile options, so that
// PVX_TEST_TMPDIR names the folder wherever a test wants a file.
#pragma once

namespace pvxtest {

// The folder, made on first use; also TMPDIR and PVX_TEST_TMPDIR of this process and of the
// programs it starts, so that their temporary files and records stay in it too.
const char* TmpDir();

}  // namespace pvxtest

#define PVX_TEST_TMPDIR (::pvxtest::TmpDir())
