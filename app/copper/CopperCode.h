#pragma once
#include "copper/CopperObject.h"

#include <QtGlobal>
#include <amiga/copperframe.h>
#include <string>

// The Copper tool's output, apart from its widgets: the sequence repeated on a run of display
// lines, one "\tdc.w\t" line per display line, the line's WAIT first and then the words of every
// instruction of the sequence, with that line as their vertical increment.
//
// The lines are written by the machine library's copper line writer (amiga::CopperLineWaits),
// which adds what the copper needs on the way:
//   - before the first line past $ff, the WAIT $ffdf,$fffe for the end of line $ff (the copper
//     compares only a line's low byte, so later lines print their low byte), also when the run
//     starts past $ff: the list starts at the top of the frame;
//   - lines past the end of the frame (PAL: 312 lines, $000-$137; NTSC: 262 lines, $000-$105)
//     are not printed, and a comment says so;
//   - above the first line, a comment for each register that the copper cannot write or writes
//     only with COPCON's danger bit, and for each WAIT of the sequence that the copper cannot
//     wait for where it stands.
struct CopperRun {
    qint64 lines = 0;          // display lines to print; none when 0 or less
    qint64 firstLine = 0;      // the first line
    qint64 horizontal = 0;     // horizontal position of each line's WAIT (bit 0 is the WAIT's)
    qint64 verticalMask = 0;   // mask bytes of each line's WAIT; the vertical mask's bit 7
    qint64 horizontalMask = 0; // is the blitter-finished-disable bit
    int frameLines = amiga::CopperFrame::kLines; // kNtscLines for an NTSC frame
};

std::string copperCode(const CopperRun &run, const CopperSequence &sequence);
