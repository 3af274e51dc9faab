// Bloco M pelos lançamentos sobre a demonstração inteira: cada empresa em cada modo roda,
// passa no formato e nas contas do leiaute e sai igual, byte a byte, no SQLite e no PostgreSQL.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "base/Periodo.h"
#include "blocom/control/nFisRepositorioEFDBlocoMEFD_U.h"
#include "blocom/control/nFisRepositorioEFDBlocoMFabrica_U.h"
#include "blocom/control/nFisRepositorioEFDBlocoMLcto_U.h"
#include "db/Demo.h"
#include "fixtures/Bancos.h"
#include "fixtures/LeiauteBlocoM.h"
#include "host/Nutildb.h"
#include "output/ExecucaoBlocoM.h"

namespace {
struct TCaso {
  TConfigBlocoM Config;
  std::string Nome;
};

// Casos tirados do cadastro: cada empresa inteira, cada estabelecimento comum no modo filial e
// cada SCP no modo scp. Perfis novos da demonstração entram sozinhos.
std::vector<TCaso> Casos(TDatabase& ABanco) {
  std::vector<TCaso> casos;
  auto ds = ABanco.Abrir(
      "SELECT E.CODIGOEMPRESA, E.CODIGOESTAB, E.SOCIEDADECONTAPARTICIPACAO, C.INDNATPJ FROM ESTAB E "
      "LEFT JOIN CFGEMPRESAFIS C ON C.CODIGOEMPRESA = E.CODIGOEMPRESA ORDER BY E.CODIGOEMPRESA, E.CODIGOESTAB");
  int anterior = 0;
  for (; !ds->Eof(); ds->Next()) {
    TConfigBlocoM c;
    c.CodigoEmpresa = static_cast<int32_t>(ds->Fields(0).AsInteger());
    CompetenciaParaPeriodo("2024-01", c.DataInicial, c.DataFinal);
    c.IndNatPessoaJurid = ds->Fields(3).IsNull() ? "" : std::to_string(ds->Fields(3).AsInteger());
    const std::string empresa = "empresa " + std::to_string(c.CodigoEmpresa);
    if (c.CodigoEmpresa != anterior) casos.push_back({c, empresa});
    anterior = c.CodigoEmpresa;
    const bool scp = ds->Fields(2).AsString() == "1";
    c.ModoGeracao = scp ? TModoGeracao::mgSCP : TModoGeracao::mgFilial;
    c.CodigoEstab = c.CodigoEstabExtraApuracao = ds->Fields(1).AsString();
    casos.push_back({c, empresa + (scp ? " scp " : " filial ") + c.CodigoEstab});
  }
  return casos;
}

std::vector<std::string> Linhas(const std::string& ATexto) {
  std::vector<std::string> r;
  std::istringstream in(ATexto);
  for (std::string l; std::getline(in, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    r.push_back(l);
  }
  return r;
}

// Texto SPED e JSON de todos os casos, concatenados, cada um sob "# caso formato".
std::vector<std::string> RodarTodos(TDatabase& ABanco) {
  std::vector<std::string> r;
  for (const auto& caso : Casos(ABanco)) {
    for (const char* formato : {"sped", "json"}) {
      std::ostringstream out;
      ExecutarBlocoM(caso.Config, TSaidaBlocoM{formato, "", true, false}, out);
      r.push_back("# " + caso.Nome + " " + formato);
      for (auto& l : Linhas(out.str())) r.push_back(std::move(l));
    }
  }
  return r;
}

class BlocoMLctoDemo : public TBancoTeste {
 protected:
  void SetUp() override {
    TBancoTeste::SetUp();
    if (HasFatalFailure() || IsSkipped()) return;
    GerarBancoDemo(Banco(), TConfigDemo{});
  }
};
}  // namespace

PISCO_INSTANCIAR_BANCOS(BlocoMLctoDemo);

TEST_P(BlocoMLctoDemo, TodasAsEmpresasEModosPassamNoLeiaute) {
  const auto linhas = RodarTodos(Banco());
  std::string caso, json;
  std::vector<std::string> bloco;
  size_t blocos = 0;
  auto fechar = [&] {
    if (caso.ends_with(" json")) {
      nlohmann::json j;
      EXPECT_NO_THROW(j = nlohmann::json::parse(json)) << caso;
      EXPECT_FALSE(j.empty()) << caso;
    } else if (!caso.empty()) {
      ++blocos;
      for (const auto& e : consistencia::ConferirLeiaute(bloco)) ADD_FAILURE() << caso << ": " << e;
      for (const auto& e : consistencia::ConferirBlocoM(bloco)) ADD_FAILURE() << caso << ": " << e;
    }
    bloco.clear();
    json.clear();
  };
  for (const auto& l : linhas) {
    if (l.rfind("# ", 0) == 0) {
      fechar();
      caso = l;
    } else if (caso.ends_with(" json")) {
      json += l + "\n";
    } else if (!l.empty()) {
      bloco.push_back(l);
    }
  }
  fechar();
  EXPECT_GE(blocos, static_cast<size_t>(kPerfisDemo) * 2) << "empresa inteira e ao menos um estabelecimento";
  // Os ramos que a demonstração precisa alcançar pelos lançamentos.
  auto tem = [&](const std::string& prefixo) {
    for (const auto& l : linhas)
      if (l.rfind(prefixo, 0) == 0) return true;
    return false;
  };
  for (const char* reg : {"|M100|", "|M105|", "|M110|", "|M115|", "|M205|", "|M210|", "|M211|", "|M215|", "|M220|",
                          "|M230|", "|M300|", "|M350|", "|M410|", "|M500|", "|M605|", "|M810|"})
    EXPECT_TRUE(tem(reg)) << reg << " não aparece em nenhuma execução pelos lançamentos";
  EXPECT_TRUE(tem("|M205|12|810902|")) << "código de receita do presumido";
}

TEST_P(BlocoMLctoDemo, MesmaSaidaNoSQLiteENoPostgreSQL) {
  if (!EhPostgreSQL()) GTEST_SKIP() << "compara o PostgreSQL com uma cópia SQLite";
  const auto linhasPg = RodarTodos(Banco());
  const auto arquivo =
      std::filesystem::temp_directory_path() / ("pisco-lcto-copia-" + std::to_string(::getpid()) + ".db");
  std::filesystem::remove(arquivo);
  std::vector<std::string> linhasSqlite;
  {
    THost host(TDatabase::Conectar(arquivo.string(), TModoAbertura::maCriar));
    THostScope escopo(host);
    GerarBancoDemo(host.Database(), TConfigDemo{});
    linhasSqlite = RodarTodos(host.Database());
  }
  std::filesystem::remove(arquivo);
  ASSERT_EQ(linhasPg.size(), linhasSqlite.size());
  for (size_t i = 0; i < linhasPg.size(); ++i) ASSERT_EQ(linhasPg[i], linhasSqlite[i]) << "linha " << i;
}

// Escolha da variante pela opção da EFD e pelo pedido de lançamentos, e quem processa créditos:
// só cumulativa (incidência 2) e lucro presumido não têm M100/M500.
TEST_P(BlocoMLctoDemo, FabricaEscolheAVarianteECreditosPeloRegime) {
  struct TEsperado {
    int Empresa;
    bool Lancamentos;
    const char* Variante;
    bool Creditos;
  };
  const TEsperado casos[] = {
      {1, true, "LctoEFD", true},   {1, false, "EFD", true},      {2, true, "LctoDacon", false},
      {2, false, "LctoDacon", false}, {4, true, "LctoEFD", false},
  };
  for (const auto& e : casos) {
    SCOPED_TRACE("empresa " + std::to_string(e.Empresa) + (e.Lancamentos ? " lançamentos" : " totais"));
    TConfigBlocoM c;
    c.CodigoEmpresa = e.Empresa;
    CompetenciaParaPeriodo("2024-01", c.DataInicial, c.DataFinal);
    auto repo = TnFisRepositorioEFDBlocoMFabrica::CriarRepositorio(e.Empresa, 1, c.DataInicial, e.Lancamentos);
    const std::string variante = dynamic_cast<TnFisRepositorioEFDBlocoMLctoEFD*>(repo.get())     ? "LctoEFD"
                                 : dynamic_cast<TnFisRepositorioEFDBlocoMLctoDacon*>(repo.get()) ? "LctoDacon"
                                 : dynamic_cast<TnFisRepositorioEFDBlocoMEFD*>(repo.get())       ? "EFD"
                                                                                                 : "?";
    EXPECT_EQ(variante, e.Variante);
    auto mapa = repo->CarregarDadosBlocoM(c);
    EXPECT_EQ(repo->GetDeveProcessarCreditos(), e.Creditos);
    bool temCredito = false;
    for (const auto& [tipo, m001] : *mapa) temCredito |= m001->FM100List.Count() + m001->FM500List.Count() > 0;
    if (!e.Creditos) {
      EXPECT_FALSE(temCredito);
    }
  }
}
