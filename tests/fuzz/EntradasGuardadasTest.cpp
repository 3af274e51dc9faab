// Reaplica as entradas guardadas do fuzzing pelas mesmas propriedades dos alvos: um crash
// corrigido volta a falhar aqui, na suíte normal (e na build com sanitizers), sem o fuzzer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "fuzz/Propriedades.h"

namespace fs = std::filesystem;

namespace {

const fs::path kFuzz = fs::path(PISCO_SOURCE_DIR) / "tests" / "fuzz";

std::string Ler(const fs::path& AArquivo) {
  std::ifstream f(AArquivo, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

}  // namespace

// crashes/<Alvo>-descricao.bin: o alvo vem do nome do arquivo.
TEST(EntradasFuzz, CrashesGuardadosSatisfazemAsPropriedades) {
  int n = 0;
  for (const auto& e : fs::directory_iterator(kFuzz / "crashes")) {
    const std::string nome = e.path().filename().string();
    const TPropriedades props = PropriedadesDoAlvo(nome.substr(0, nome.find('-')));
    ASSERT_NE(props, nullptr) << "crash de alvo desconhecido: " << nome;
    EXPECT_EQ(props(Ler(e.path())), "") << nome;
    ++n;
  }
  EXPECT_GE(n, 1);
}

// corpus/<Alvo>/: a semente de cada alvo (um por Fuzz*.cpp), que o passe curto do CI também usa.
TEST(EntradasFuzz, CorpusDeCadaAlvoSatisfazAsPropriedades) {
  int alvos = 0;
  for (const auto& f : fs::directory_iterator(kFuzz)) {
    const std::string alvo = f.path().stem().string();
    if (alvo.rfind("Fuzz", 0) != 0 || f.path().extension() != ".cpp") continue;
    ++alvos;
    const TPropriedades props = PropriedadesDoAlvo(alvo);
    ASSERT_NE(props, nullptr) << "alvo sem propriedades em PropriedadesDoAlvo: " << alvo;
    ASSERT_TRUE(fs::is_directory(kFuzz / "corpus" / alvo)) << "alvo sem corpus: " << alvo;
    int n = 0;
    for (const auto& e : fs::directory_iterator(kFuzz / "corpus" / alvo)) {
      EXPECT_EQ(props(Ler(e.path())), "") << alvo << "/" << e.path().filename().string();
      ++n;
    }
    EXPECT_GE(n, 1) << "corpus vazio: " << alvo;
  }
  EXPECT_GE(alvos, 4);
}
