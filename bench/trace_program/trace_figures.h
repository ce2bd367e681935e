#pragma once

#include "bench/whole_program/bench_options.h"

namespace varelo::bench {

// Each takes --trace PATH (the program) and --dir FOLDER (its files).
// --reader trace|cat|picocom --seconds S: two lines flat out; the trace with
// --json --out and --record at once, cat and picocom reading the same load.
int TraceFloodFigure(const BenchOptions& options);
// --rate N --seconds S: stamp minus write time, the far end stamping on the same clock.
int TraceStampFigure(const BenchOptions& options);
// --seconds S: two lines open and quiet.
int TraceIdleFigure(const BenchOptions& options);

// A recorded MODBUS bus of a million transactions replayed with --modbus rtu --json.
int TraceModbusReplayFigure(const BenchOptions& options);

}  // namespace varelo::bench
