#include "trace/device_names.h"

#include <filesystem>

namespace varelo {

std::string StableDeviceName(const std::string& path, const std::string& byIdDir) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path dir = fs::weakly_canonical(byIdDir, error);
    if (!error && fs::path(path).parent_path() == fs::path(byIdDir)) return path;
    const fs::path device = fs::canonical(path, error);
    if (error) return {};
    for (fs::directory_iterator it(byIdDir, error), end; !error && it != end; it.increment(error)) {
        std::error_code linkError;
        if (fs::canonical(it->path(), linkError) == device && !linkError) return it->path().string();
    }
    return {};
}

}  // namespace varelo
