// vistrel-convert: load a picture, run processing operations, write it.
#include <iostream>
#include <string>
#include <vector>

#include "program_info.h"
#include "imaging/convert/convert_options.h"
#include "imaging/convert/convert_run.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  vistrel::TConvertOptions options;
  std::string error;
  if (!vistrel::ParseConvertOptions(args, options, error)) {
    std::cerr << "vistrel-convert: " << error << "\nTry 'vistrel-convert --help'.\n";
    return 2;
  }
  if (options.version) {
    std::cout << "vistrel-convert " VISTREL_VERSION "\n";
    return 0;
  }
  if (options.help) {
    std::cout << vistrel::ConvertUsage();
    return 0;
  }
  return vistrel::RunConvert(options, std::cout, std::cerr);
}
