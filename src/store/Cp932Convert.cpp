// Build tool: converts one UTF-8 installation file into the program folder's CP932 form.
//   cp932conv [--crlf] INPUT OUTPUT
// --crlf also turns LF line ends into CR LF. A character without a CP932 form fails the build.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "store/Cp932.h"

int main(int argc, char** argv) {
  bool crlf = argc == 4 && std::string(argv[1]) == "--crlf";
  if (argc != (crlf ? 4 : 3)) {
    std::cerr << "usage: cp932conv [--crlf] INPUT OUTPUT\n";
    return 2;
  }
  const char* input = argv[crlf ? 2 : 1];
  const char* output = argv[crlf ? 3 : 2];
  std::ifstream in(input, std::ios::binary);
  if (!in) {
    std::cerr << "cp932conv: cannot read " << input << "\n";
    return 1;
  }
  std::stringstream buffer;
  buffer << in.rdbuf();
  std::string text = buffer.str();
  if (crlf) {
    std::string converted;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) converted += '\r';
      converted += text[i];
    }
    text.swap(converted);
  }
  std::string bytes;
  if (!talvorin::Utf8ToCp932(text, bytes)) {
    std::cerr << "cp932conv: " << input << " holds text that CP932 cannot express\n";
    return 1;
  }
  std::ofstream out(output, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out.flush()) {
    std::cerr << "cp932conv: cannot write " << output << "\n";
    return 1;
  }
  return 0;
}
