// Reaplica as entradas guardadas do fuzzing pelas mesmas propriedades dos alvos: um crash
// corrigido volta a falhar aqui, na suíte normal (e na build com sanitizers), sem o fuzzer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "fuzz/Propriedades.h"

namespace fs = std::filesystem;

// crashes/<Alvo>-descricao.bin e corpus/<Alvo>/ (um por Fuzz*.cpp, o mesmo do passe curto do CI).
TEST(EntradasFuzz, GuardadasSatisfazemAsPropriedades) {
  const fs::path fuzz = fs::path(PISCO_SOURCE_DIR) / "tests" / "fuzz";
  std::vector<std::pair<std::string, fs::path>> entradas;  // alvo, arquivo
  for (const auto& e : fs::directory_iterator(fuzz / "crashes")) {
    const std::string nome = e.path().filename().string();
    entradas.push_back({nome.substr(0, nome.find('-')), e.path()});
  }
  size_t alvos = 0;
  for (const auto& f : fs::directory_iterator(fuzz)) {
    const std::string alvo = f.path().stem().string();
    if (alvo.rfind("Fuzz", 0) != 0 || f.path().extension() != ".cpp") continue;
    ++alvos;
    // sem corpus, directory_iterator lança e o teste falha com o caminho
    for (const auto& e : fs::directory_iterator(fuzz / "corpus" / alvo)) entradas.push_back({alvo, e.path()});
  }
  for (const auto& [alvo, arquivo] : entradas) {
    const TPropriedades props = PropriedadesDoAlvo(alvo);
    ASSERT_NE(props, nullptr) << "alvo sem propriedades: " << alvo;
    std::ifstream f(arquivo, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    EXPECT_EQ(props(s.str()), "") << arquivo.lexically_relative(fuzz);
  }
  EXPECT_GE(alvos, 5u);
  EXPECT_GT(entradas.size(), alvos);
}
