#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "blocom/control/nFisEFDControleBlocoM_U.h"
#include "blocom/control/nFisEFDGeradorBlocoM_U.h"

namespace {
using TLog = std::vector<std::string>;

// Gerador de teste: registra cada gancho e falha onde o roteiro mandar.
class TGeradorTeste : public TnFisEFDGeradorBlocoM {
 public:
  struct TRoteiro {
    std::string Nome;
    std::string FalharEm;  // "carregar", "depois", "finalizar" ou vazio
    std::vector<TRoteiro> Filhos;
  };

  TGeradorTeste(TnFisEFDControleBlocoM& c, int16_t imposto, TLog* log, TRoteiro roteiro)
      : TnFisEFDGeradorBlocoM(c, imposto), FLog(log), R(std::move(roteiro)) {}
  ~TGeradorTeste() override { FLog->push_back("~" + R.Nome); }

  void AntesCarregarDados() override { Gancho("antes"); }
  void CarregarDados() override { Gancho("carregar", "falha de "); }
  void DepoisCarregarDados() override { Gancho("depois", "falha depois de "); }
  void DepoisCarregarDadosFilhos() override { Gancho("depoisFilhos"); }
  void CriarGeradoresFilhos() override {
    for (const auto& f : R.Filhos) CriarFilho<TGeradorTeste>(FLog, f);
  }
  void Finalizar() override {
    if (R.FalharEm == "finalizar") throw std::runtime_error("recurso preso");
  }
  std::string GetNomeRegistro() override { return R.Nome; }

 private:
  void Gancho(const std::string& AGancho, const std::string& AErro = "") {
    FLog->push_back(R.Nome + "." + AGancho);
    if (R.FalharEm == AGancho) throw std::runtime_error(AErro + R.Nome);
  }
  TLog* FLog;
  TRoteiro R;
};

class GeradorBlocoM : public ::testing::Test {
 protected:
  TnFisEFDControleBlocoM FControle;
  TLog FLog;

  std::string Processar(const TGeradorTeste::TRoteiro& r) {
    auto g = TnFisEFDGeradorBlocoM::Criar<TGeradorTeste>(FControle, 15, &FLog, r);
    try {
      g->ProcessarRegistro();
    } catch (const std::exception& e) {
      return e.what();
    }
    return "";
  }
};
}  // namespace

TEST_F(GeradorBlocoM, ArvoreCriadaAntesDeLerEProcessadaNaOrdemDosGanchos) {
  auto g = TnFisEFDGeradorBlocoM::Criar<TGeradorTeste>(
      FControle, 15, &FLog, TGeradorTeste::TRoteiro{"M1", "", {{"F1", "", {{"N1", "", {}}}}, {"F2", "", {}}}});
  ASSERT_EQ(g->Filhos().size(), 2u);  // a árvore existe antes de qualquer leitura
  EXPECT_TRUE(FLog.empty());
  g->ProcessarRegistro();
  const TLog esperado = {"M1.antes", "M1.carregar", "M1.depois",
                         "F1.antes", "F1.carregar", "F1.depois", "N1.antes", "N1.carregar", "N1.depois",
                         "N1.depoisFilhos", "F1.depoisFilhos", "~N1",
                         "F2.antes", "F2.carregar", "F2.depois", "F2.depoisFilhos",
                         "M1.depoisFilhos", "~F1", "~F2"};
  EXPECT_EQ(FLog, esperado);
  EXPECT_TRUE(g->Filhos().empty());
}

TEST_F(GeradorBlocoM, ErrosNomeiamORegistroQueFalhouEFilhosSaoLiberados) {
  struct Caso {
    TGeradorTeste::TRoteiro Roteiro;
    std::string Mensagem;
    std::vector<std::string> Liberados;
    std::vector<std::string> NaoProcessados;
  };
  const Caso casos[] = {
      {{"M100", "carregar", {{"M105", "", {}}}},
       "Erro ao tentar carregar dados do registro M100: falha de M100",
       {"~M105"},
       {"M105.antes"}},
      // O erro do filho chega como o filho o embrulhou: o pai não embrulha de novo.
      {{"M200", "", {{"M210", "", {{"M211", "carregar", {}}}}, {"M205", "", {}}}},
       "Erro ao tentar carregar dados do registro M211: falha de M211",
       {"~M211", "~M210", "~M205"},
       {"M205.antes", "M200.depoisFilhos"}},
      // Depois de carregar, o erro passa sem o texto de carga.
      {{"M400", "depois", {{"M410", "", {}}}}, "falha depois de M400", {"~M410"}, {"M410.antes"}},
      {{"M100", "", {{"M110", "finalizar", {}}}},
       "Erro ao tentar destruir o gerador do registro M110: recurso preso",
       {"~M110"},
       {}},
  };
  for (const auto& c : casos) {
    FLog.clear();
    EXPECT_EQ(Processar(c.Roteiro), c.Mensagem);
    for (const auto& l : c.Liberados)
      EXPECT_NE(std::find(FLog.begin(), FLog.end(), l), FLog.end()) << c.Mensagem << ": " << l << " não liberado";
    for (const auto& n : c.NaoProcessados)
      EXPECT_EQ(std::find(FLog.begin(), FLog.end(), n), FLog.end()) << c.Mensagem << ": " << n << " não devia rodar";
  }
}

TEST(ConfigBlocoM, EstabelecimentoComoInteiro) {
  EXPECT_EQ(EstabComoInteiro(" 12 "), 12);
  EXPECT_EQ(EstabComoInteiro("1-3"), 1);  // lista: vale o primeiro
  EXPECT_EQ(EstabComoInteiro(""), 1);
  EXPECT_EQ(EstabComoInteiro("abc", 0), 0);
}
