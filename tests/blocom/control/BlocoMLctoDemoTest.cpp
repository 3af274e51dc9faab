// Bloco M pelos lançamentos sobre a demonstração inteira: cada empresa em cada modo roda,
// passa no formato e nas contas do leiaute e sai igual, byte a byte, no SQLite e no PostgreSQL.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>
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

// Regras do leiaute que a demonstração fura pelos lançamentos, por empresa, cada uma com a causa.
// Não são defeitos do gerador: vêm das regras do cálculo sobre os dados da demonstração. Qualquer
// outra falha, ou uma destas que deixe de acontecer, reprova o teste.
const std::map<std::string, std::string> kDiferencasConhecidas = {
    // a soma dos tipos de apuração 0, 62 e 63: o M210 com M211 (exclusões de cooperativa do tipo 0)
    // fica com a base do M211, sem a dos outros tipos, enquanto os créditos descontados somam os três
    {"empresa 3|M200.VL_TOT_CONT_NC_DEV negativo", "soma de tipos com M211"},
    {"empresa 3|M200.VL_CONT_NC_REC negativo", "soma de tipos com M211"},
    {"empresa 3|M600.VL_TOT_CONT_NC_DEV negativo", "soma de tipos com M211"},
    {"empresa 3|M600.VL_CONT_NC_REC negativo", "soma de tipos com M211"},
    // cada tipo de apuração arredonda o seu M205; a soma difere do M200 somado em um centavo
    {"empresa 3|M200 M205 campo 12", "arredondamento por tipo"},
    {"empresa 3|M600 M205 campo 12", "arredondamento por tipo"},
    {"empresa 3|M600 M205 campo 08", "arredondamento por tipo"},
};

// "# empresa 3 filial 1 sped" + "M600 M205 campo 12: 1,00 <> 2,00" -> "empresa 3|M600 M205 campo 12"
std::string ChaveDiferenca(const std::string& ACaso, const std::string& AErro) {
  std::string empresa = ACaso.substr(2);
  for (const char* modo : {" filial ", " scp ", " sped"})
    if (auto p = empresa.find(modo); p != std::string::npos) empresa.resize(p);
  return empresa + "|" + AErro.substr(0, AErro.find(':'));
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
  testing::internal::CaptureStderr();
  const auto linhas = RodarTodos(Banco());
  // A demonstração é coerente: nenhuma dedução passa do que resta e todo crédito tem ordem.
  EXPECT_EQ(testing::internal::GetCapturedStderr().find("aviso"), std::string::npos);
  std::string caso, json;
  std::vector<std::string> bloco;
  size_t blocos = 0;
  std::set<std::string> vistas;
  auto conferir = [&](const std::string& e) {
    const auto chave = ChaveDiferenca(caso, e);
    if (kDiferencasConhecidas.count(chave))
      vistas.insert(chave);
    else
      ADD_FAILURE() << caso << ": " << e;
  };
  auto fechar = [&] {
    if (caso.ends_with(" json")) {
      nlohmann::json j;
      EXPECT_NO_THROW(j = nlohmann::json::parse(json)) << caso;
      EXPECT_FALSE(j.empty()) << caso;
    } else if (!caso.empty()) {
      ++blocos;
      for (const auto& e : consistencia::ConferirLeiaute(bloco)) conferir(e);
      for (const auto& e : consistencia::ConferirBlocoM(bloco)) conferir(e);
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
  for (const auto& [chave, causa] : kDiferencasConhecidas)
    EXPECT_TRUE(vistas.count(chave)) << chave << " (" << causa << ") não acontece mais: tire da lista";
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
  // Estorno maior que o crédito (devolução maior que a compra) deixaria o disponível negativo.
  for (const auto& l : linhas)
    if (l.rfind("|M100|", 0) == 0 || l.rfind("|M500|", 0) == 0) {
      size_t p = 0;
      for (int campo = 0; campo < 11 && p != std::string::npos; ++campo) p = l.find('|', p + 1);
      EXPECT_NE(l.substr(p + 1, 1), "-") << "VL_CRED_DISP negativo: " << l;
    }
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

// O usuário é avisado (DoAviso da execução; no pisco, o stderr), com os valores, quando o bloco sai com valor a recolher negativo
// por deduções maiores que a contribuição, quando um crédito com saldo fica parado porque o
// código não está na ordem de compensação, quando um ajuste sem detalhe fica fora do bloco e
// quando só uma de duas exclusões de cooperativa do mesmo tipo de débito entra no M211.
TEST_P(BlocoMLctoDemo, AvisaDeducaoAlemDaContribuicaoCreditoForaDaOrdemEAjusteSemDetalhe) {
  TConfigBlocoM c;
  c.CodigoEmpresa = 1;
  CompetenciaParaPeriodo("2024-01", c.DataInicial, c.DataFinal);
  // Quem liga a biblioteca recebe os avisos pelo DoAviso, e nada vai para o stderr.
  std::string avisos;
  c.DoAviso = [&avisos](const std::string& AMensagem) { avisos += AMensagem + "\n"; };
  auto rodar = [&] {
    std::ostringstream out;
    avisos.clear();
    testing::internal::CaptureStderr();
    ExecutarBlocoM(c, TSaidaBlocoM{"sped", "", true, false}, out);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    return avisos;
  };
  Banco().Executar("DELETE FROM EFDORDEMCOMPCREDPERCENT WHERE CODIGOTABSPED = '4.3.06.101'");
  Banco().Executar("DELETE FROM EFDAJUSTEPISCOFINSDET WHERE CODIGOEMPRESA = 1 AND SEQAJUSTE = 2");
  for (int seq : {1, 2})
    Banco().Executar("INSERT INTO EFDEXCLUCOOP (CODIGOEMPRESA, CODIGOESTAB, DATALCTOFIS, SEQ, IMPOSTO, TIPOAPURACAO, "
                     "TIPODEBITO, INDTIPCOOP, VLEXCCOOPGER, VLEXCESPCOOP) VALUES (1, 1, '2024-01-28', " +
                     std::to_string(seq) + ", 15, 0, '4.3.05.01', 1, 100, 0)");
  std::string erro = rodar();
  EXPECT_NE(erro.find("há mais de uma linha de exclusão de cooperativa de PIS para o tipo de apuração 0 e o tipo de "
                      "débito 4.3.05.01; só uma entra no M211"),
            std::string::npos)
      << erro;
  EXPECT_NE(erro.find("o ajuste 2 do estabelecimento 1 (DIFERENÇA DE ALÍQUOTA DE PERÍODO ANTERIOR, R$ 9,03 de PIS) "
                      "não tem linha de detalhe e fica fora do M220"),
            std::string::npos)
      << erro;
  EXPECT_NE(erro.find("o crédito 4.3.06.101 de PIS"), std::string::npos) << erro;
  EXPECT_NE(erro.find("não está na ordem de compensação da empresa (tabela 1)"), std::string::npos) << erro;
  EXPECT_EQ(erro.find("deduções diversas"), std::string::npos) << erro;

  // Deduções (3;1;2) antes de tudo: 13.200,00 + 26,71 da demonstração contra 13.062,90 devidos (sem
  // o ajuste de 9,03 que perdeu o detalhe e com 1,65 a menos pela exclusão de cooperativa de 100,00).
  Banco().Executar(
      "INSERT INTO EFDDEDUCOESDIVERSAS (CODIGOEMPRESA, CODIGOESTAB, DATALCTOFIS, SEQ, INDORIDED, VLDEDPIS, VLDEDCOFINS, "
      "VLBCOPER, TIPOAPURACAO, INDNATDED) VALUES (1, 1, '2024-01-26', 99, 1, 13200, 0, 0, 0, 0)");
  erro = rodar();
  EXPECT_NE(erro.find("empresa 1, 01/2024: as deduções diversas de PIS (R$ 13226,71) passam da contribuição não "
                      "cumulativa que restava a recolher (R$ 13062,90); o M200 sai com valor a recolher negativo"),
            std::string::npos)
      << erro;
  EXPECT_EQ(erro.find("deduções diversas de COFINS"), std::string::npos) << "a COFINS cabe: " << erro;
}

// Crédito guardado de um tipo de apuração (62) que não tem contribuição no mês: não há o que
// compensar, e a apuração desse tipo não aparece vazia na saída.
TEST_P(BlocoMLctoDemo, CreditoDeTipoSemContribuicaoNaoAbreApuracao) {
  Banco().Executar(
      "INSERT INTO EFDSALDOCOMPCRED (CODIGOEMPRESA, DATATOTAL, SEQ, IMPOSTO, TIPOAPURACAO, PERAPUCRED, ORIGCRED, CODCRED, "
      "ALIQIMPOSTO, VLCREDAPU, VLCREDEXTAPU, VLCREDDESCPAANT, VLCREDPERPAANT, VLCREDDCOMPPAANT, VLCREDDESCEFD, "
      "VLCREDPEREFD, VLCREDDCOMPEFD, VLCREDTRANS, VLCREDOUT, SLDCREDFIM) VALUES (1, '2023-12-01', 99, 15, 62, "
      "'2023-11-01', 1, '4.3.06.101', 1.65, 100, 0, 0, 0, 0, 0, 0, 0, 0, 0, 100)");
  TConfigBlocoM c;
  c.CodigoEmpresa = 1;
  CompetenciaParaPeriodo("2024-01", c.DataInicial, c.DataFinal);
  std::ostringstream out;
  ExecutarBlocoM(c, TSaidaBlocoM{"json", "", true, false}, out);
  const auto j = nlohmann::json::parse(out.str());
  ASSERT_EQ(j.at("apuracoes").size(), 1u) << out.str().substr(0, 400);
  EXPECT_EQ(j["apuracoes"][0]["TIPO_APURACAO"], 0);
}
