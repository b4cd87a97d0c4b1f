// The built modules must load and run on any x86-64: only the kernels of the wider variants,
// which run only where the processor has their instructions, may use AVX. An inline function of a
// kernel source that the linker kept for the whole module would break that on older processors.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>

namespace
{

struct Scan
{
  std::set<std::string> avxOutsideKernels;
  int avxInsideKernels = 0;
};

bool IsKernelOfWiderSet(const std::string& function)
{
  return function.find("velmora::avx2::") != std::string::npos ||
         function.find("velmora::avx512::") != std::string::npos;
}

// Every instruction with a VEX or EVEX encoding has a mnemonic that starts with 'v' (the legacy
// "verr" and "verw" aside, which no compiler emits here).
bool IsAvxInstruction(const std::string& line)
{
  const size_t tab = line.find(":\t");
  if (tab == std::string::npos)
    return false;
  const size_t mnemonic = tab + 2;
  return mnemonic < line.size() && line[mnemonic] == 'v' && line.compare(mnemonic, 3, "ver") != 0;
}

Scan Disassemble(const std::string& path)
{
  Scan scan;
  const std::string command = "objdump -d --no-show-raw-insn -C '" + path + "' 2>/dev/null";
  const std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe)
    return scan;
  std::string function;
  char buffer[4096];
  while (fgets(buffer, sizeof buffer, pipe.get()) != nullptr)
  {
    const std::string line(buffer);
    if (!line.empty() && line[0] != ' ' && line.find(">:") != std::string::npos)
    {
      function = line;
      continue;
    }
    if (!IsAvxInstruction(line))
      continue;
    if (IsKernelOfWiderSet(function))
      ++scan.avxInsideKernels;
    else
      scan.avxOutsideKernels.insert(function);
  }
  return scan;
}

class BaselineInstructions : public testing::TestWithParam<const char*>
{
};

TEST_P(BaselineInstructions, OnlyTheWiderKernelsUseAvx)
{
  const Scan scan = Disassemble(GetParam());
  // The scan itself works: the wider kernels are there and use AVX.
  ASSERT_GT(scan.avxInsideKernels, 100) << "objdump found no AVX kernels in " << GetParam();
  for (const std::string& function : scan.avxOutsideKernels)
    ADD_FAILURE() << "AVX outside the kernels of the wider sets: " << function;
}

INSTANTIATE_TEST_SUITE_P(Modules, BaselineInstructions,
                         testing::Values(VELMORA_CLAP_MODULE, VELMORA_VST3_MODULE));

} // namespace
