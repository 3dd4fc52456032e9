// Model files of arbitrary bytes through the model reader, then imported in
// every mode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kvfuzz {

// Once per process: the working database and a reading time limit that
// keeps a stalled reading short.
void SetUpModelHarness();

// The file name extensions an input can take; its first byte chooses one.
extern const char* const kModelExtensions[];
extern const size_t kModelExtensionCount;

// One input: the first byte chooses the file's extension, the rest is the
// file. "" when everything held, otherwise what broke.
std::string RunModelInput(const uint8_t* data, size_t size);

// Reads the file at path and imports what it gives in every mode; the same
// checks as RunModelInput. refusal, when given, receives the reader's text
// when it refused the file (UTF-8), else "".
std::string ReadAndImport(const std::string& path, std::string* refusal = nullptr);

}  // namespace kvfuzz
