#pragma once

#include "bench/whole_program/bench_options.h"

namespace varelo::bench {

// Each figure measures one run and prints its RESULT (or NOT_MEASURED) line;
// the exit status is 0 unless the benchmark itself could not run.

// --ports 1|2 --seconds S --dir FOLDER: the monitor fed flat out, Hexa mode,
// headers and time on, capturing to a file in FOLDER.
int ThroughputFigure(const BenchOptions& options);
// --seconds S: both ports open and polling, nothing arriving.
int IdleFigure(const BenchOptions& options);
// --seconds S: both ports flooded as for throughput, capturing to /dev/null.
int MemoryFigure(const BenchOptions& options);
// --period MS --seconds S: "Code of 11 Char" on port 1, timed at the far end.
int SchedulerFigure(const BenchOptions& options);
// --seconds S --sim PATH: a tag reading session against the simulator.
int TagFigure(const BenchOptions& options);
// --program PATH --runs N: Varelo itself started with VARELO_REPORT_STARTUP=1.
int StartupFigure(const BenchOptions& options);
// --mode hexa|ascii|ctrl --seconds S: random bytes flat out on both ports.
int NoiseFigure(const BenchOptions& options);
// --seconds S: picocom on the same load as the one-port throughput.
int CompareFigure(const BenchOptions& options);

}  // namespace varelo::bench
