#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace velkaro::report::testing {

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline std::filesystem::path corpusFile(const std::string& name) {
    return std::filesystem::path(VELKARO_CORPUS_DIR) / name;
}

// A template around the given body (children of the report element).
inline std::string templateWith(const std::string& reportAttributes, const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<TfrxReport Version=\"6.0\"" + reportAttributes +
           ">\n" + body + "\n</TfrxReport>\n";
}

} // namespace velkaro::report::testing
