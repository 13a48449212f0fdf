// A fuzz target's properties without a fuzzer: feeds every file of the
// folders given on the command line (a target's seeds) to the target's entry,
// once each, in name order. A broken property aborts as under the fuzzer,
// naming the input first. Built with any compiler, so the native tests hold
// what the fuzz targets check. Fails on a folder that holds no input: a
// replay of nothing proves nothing.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FOLDER...\n", argv[0]);
    return 2;
  }
  for (int a = 1; a < argc; ++a) {
    std::error_code error;
    std::vector<std::filesystem::path> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(argv[a], error))
      if (entry.is_regular_file()) inputs.push_back(entry.path());
    if (error || inputs.empty()) {
      std::fprintf(stderr, "replay: no input in %s\n", argv[a]);
      return 1;
    }
    std::sort(inputs.begin(), inputs.end());
    for (const auto& input : inputs) {
      std::ifstream file(input, std::ios::binary);
      const std::vector<char> bytes{std::istreambuf_iterator<char>(file),
                                    std::istreambuf_iterator<char>()};
      std::fprintf(stderr, "replay: %s\n", input.c_str());
      // An empty vector's data() may be null; the fuzzer never passes null.
      static const std::uint8_t none = 0;
      LLVMFuzzerTestOneInput(
          bytes.empty() ? &none : reinterpret_cast<const std::uint8_t*>(bytes.data()),
          bytes.size());
    }
    std::printf("replay: %zu inputs of %s kept every property\n", inputs.size(), argv[a]);
  }
  return 0;
}
