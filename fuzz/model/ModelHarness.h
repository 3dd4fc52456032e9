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

// One input: a first byte below 0xC0 chooses the file's extension (its value
// modulo the number of extensions), the rest is the file; a first byte of
// 0xC0 or more makes the rest a polygon for the reader's own polygon
// splitting and point joining (RunPolygonInput), which the reader otherwise
// runs only in its reading child, where a fault would be hidden. "" when
// everything held, otherwise what broke.
std::string RunModelInput(const uint8_t* data, size_t size);

// The bytes as the corners of a polygon (12 bytes, three floats, each; a
// corner may also repeat an earlier one), split into triangles and joined
// by equal positions, with the results checked.
std::string RunPolygonInput(const uint8_t* data, size_t size);

// Reads the file at path and imports what it gives in every mode; the same
// checks as RunModelInput. refusal, when given, receives the reader's text
// when it refused the file (UTF-8), else "".
std::string ReadAndImport(const std::string& path, std::string* refusal = nullptr);

}  // namespace kvfuzz
