#pragma once

namespace varelo::bench {

// CPU seconds used so far, user and system: by the whole process, and by the
// calling thread alone.
double ProcessCpuSeconds();
double ThreadCpuSeconds();

// Resident memory in MB (10^6 bytes): now, and the peak since the process began.
double ResidentMb();
double PeakResidentMb();

}  // namespace varelo::bench
