#pragma once

#include <string>

namespace varelo::bench {

// A pseudo-terminal: the benchmark holds the master end (non-blocking), the
// program opens the slave end by its path as one of its COM ports.
class PtyPair {
  public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return master_ >= 0 && !slavePath_.empty(); }
    int master() const { return master_; }
    const std::string& slavePath() const { return slavePath_; }

  private:
    int master_ = -1;
    std::string slavePath_;
};

}  // namespace varelo::bench
