#pragma once

// Command-line tools for people and scripts, run by the program when its
// first argument names one:
//
//   wavecrest scan [-0] DIR [--ext EXT]
//                                    the library the bot would build from DIR:
//                                    one line per entry, "number TAB display
//                                    name TAB full path", in library order
//                                    (numbers as replies show them, from 1);
//                                    control characters in names shown
//                                    escaped. With -0 each record ends in NUL
//                                    instead and names are written as they
//                                    are, for scripts.
//   wavecrest tags FILE              the five tag fields (ID3v1, else
//                                    ID3v2), the bit rate ("no MPEG audio
//                                    header" when none is found in the
//                                    first 64 KiB after an ID3v2 tag) and
//                                    the size ("5.01 kb"), one "name TAB
//                                    value" line each, control characters
//                                    shown escaped; for a file that cannot
//                                    be read, only the error
//
// `argv[0]` is the tool's own name ("scan", "tags"): main passes argc - 1 and
// argv + 1. Both return the process exit status: 0 on success, 1 when the
// directory or file cannot be read, 2 with a usage message on bad arguments.

#include <iosfwd>

namespace wavecrest {

class TagReader;

int RunScanTool(int argc, char** argv);
// Loads TagLib only for a file without an ID3v1 tag that begins with an
// ID3v2 one.
int RunTagsTool(int argc, char** argv);

// The same, writing to the given streams (and reading ID3v2 tags with
// `id3v2`).
int RunScanTool(int argc, char** argv, std::ostream& out, std::ostream& err);
int RunTagsTool(int argc, char** argv, TagReader& id3v2, std::ostream& out, std::ostream& err);

}  // namespace wavecrest
