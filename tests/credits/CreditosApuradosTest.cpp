// Carregadores dos créditos e retidos já apurados (EFD, lucro real, lucro presumido) e os
// valores derivados das linhas.
#include <gtest/gtest.h>

#include "credits/CreditosFixture.h"
#include "credits/nFisEFDCreditosApuradosRet_U.h"
#include "credits/nFisEFDCreditosApurados_U.h"
#include "base/DateTime.h"
#include "host/Servicos.h"

TEST(LinhasDeCredito, ValoresDerivados) {
  TDadosCredito c;
  c.VLCREDAPU = 10.005;  // o saldo de crédito não arredonda
  EXPECT_DOUBLE_EQ(c.SLDCREDFIM(), 10.005);
  c.VLCREDEXTAPU = 5;
  c.VLCREDDESCPAANT = 1;
  c.VLCREDPERPAANT = 2;
  c.VLCREDDCOMPPAANT = 3;
  c.VLCREDDESCEFD = 0.5;
  c.VLCREDTRANS = 0.25;
  c.VLCREDOUT = 0.125;
  EXPECT_DOUBLE_EQ(c.VLTOTCREDAPU(), 15.005);
  EXPECT_DOUBLE_EQ(c.SDCREDDISPEFD(), 9.005);
  EXPECT_DOUBLE_EQ(c.SLDCREDFIM(), 9.005 - 0.875);
  TDadosRetido r;
  r.VLRETAPU = 10.005;  // o saldo de retido sempre tem centavos inteiros
  EXPECT_DOUBLE_EQ(r.SLDRET(), 10.01);
}

namespace {
class CreditosApurados : public TCreditosTeste {
 protected:
  TnFisEFDCreditosApurados Loader(TModoGeracao AModo, const std::string& AEstab) {
    TnFisEFDCreditosApurados l;
    l.FConfigBlocoM = Config(AModo, AEstab);
    return l;
  }
};
}  // namespace

TEST_P(CreditosApurados, EFDJuntaDatasDoPeriodoESeparaTipos) {
  Opcao();
  SaldoCred("EFDSALDOCOMPCRED", "DATATOTAL", "2024-01-15", {.Apu = 100}, 1, -1, 100);
  SaldoCred("EFDSALDOCOMPCRED", "DATATOTAL", "2024-01-01", {.Apu = 50}, 1, -1, 50);
  SaldoCred("EFDSALDOCOMPCRED", "DATATOTAL", "2024-01-20", {.TipoApuracao = 62, .Apu = 7}, 1, -1, 7);
  SaldoCred("EFDSALDOCOMPCRED", "DATATOTAL", "2024-01-20", {.Imposto = 16, .TipoApuracao = 62, .Apu = 3}, 1, -1, 3);
  // apurado depois do início do período: não entra
  SaldoCred("EFDSALDOCOMPCRED", "DATATOTAL", "2024-01-01", {.TipoApuracao = 62, .PerApu = "2024-01-02", .Apu = 7}, 1, -1, 1);
  SaldoCred("EFDSALDOCOMPCRED", "DATATOTAL", "2023-12-01", {.TipoApuracao = 62, .Apu = 7}, 1, -1, 1);  // outro total

  auto loader = Loader(TModoGeracao::mgEmpresa, "");
  struct Caso {
    TTipoImposto Imposto;
    bool Separar;
    std::vector<double> Valores;
  };
  for (const Caso& c : {Caso{tiTodos, true, {150, 7, 3}}, Caso{tiTodos, false, {157, 3}}, Caso{tiPIS, true, {150, 7}},
                        Caso{tiCOFINS, false, {3}}}) {
    SCOPED_TRACE(std::to_string(c.Imposto) + (c.Separar ? " separado" : ""));
    const auto lista = loader.Carregar(c.Imposto, c.Separar);
    std::vector<double> valores;
    for (const auto& l : lista) valores.push_back(l->VLCREDAPU);
    EXPECT_EQ(valores, c.Valores);
    ASSERT_FALSE(lista.empty());
    if (c.Imposto != tiCOFINS) {
      EXPECT_DOUBLE_EQ(lista[0]->DATATOTAL, ISOParaData("2024-01-01"));
    }
    if (c.Separar && c.Imposto != tiCOFINS) {
      EXPECT_EQ(lista[1]->TIPOAPURACAO, 62);
    }
  }
}

// Por estabelecimento a EFD lê as tabelas gêmeas ...ESTAB, só do estabelecimento pedido; o
// controle entrega as duas cargas com a configuração dele.
TEST_P(CreditosApurados, EFDPorEstabelecimentoPeloControle) {
  Opcao();
  SaldoCred("EFDSALDOCOMPCREDESTAB", "DATATOTAL", "2024-01-01", {.Apu = 40}, 2, -1, 40);
  SaldoCred("EFDSALDOCOMPCREDESTAB", "DATATOTAL", "2024-01-01", {.Apu = 9}, 1, -1, 9);
  SaldoCred("EFDSALDOCOMPCRED", "DATATOTAL", "2024-01-01", {.Apu = 500}, 1, -1, 500);
  SaldoRet("EFDSALDORETIDOESTAB", "DATATOTAL", "2024-01-01", {.Apu = 10}, 2);
  auto cc = Controle(TModoGeracao::mgFilial, "2");
  const auto creditos = cc->CarregarCreditosApurados();
  ASSERT_EQ(creditos.size(), 1u);
  EXPECT_DOUBLE_EQ(creditos[0]->VLCREDAPU, 40);
  const auto retidos = cc->CarregarRetidosApurados();
  ASSERT_EQ(retidos.size(), 1u);
  EXPECT_DOUBLE_EQ(retidos[0].SLDRET(), 10);
}

TEST_P(CreditosApurados, LucroRealLeOsTotaisDoEstabelecimento) {
  // Sem opção da EFD: totais do lucro real; texto que não é número filtra o estabelecimento 1.
  SaldoCred("TOTALLUCROREALCREDSPED", "DATALCTOFIS", "2024-01-31", {.Apu = 20}, 1);
  SaldoCred("TOTALLUCROREALCREDSPED", "DATALCTOFIS", "2024-01-31", {.Apu = 99}, 2);
  for (const std::string estab : {"1-2", "1"}) {
    auto loader = Loader(TModoGeracao::mgFilial, estab);
    const auto lista = loader.Carregar(tiTodos, true);
    ASSERT_EQ(lista.size(), 1u);
    EXPECT_DOUBLE_EQ(lista[0]->VLCREDAPU, 20);
    EXPECT_EQ(lista[0]->TIPOAPURACAO, 0);
  }
}

TEST_P(CreditosApurados, RetidosPorRegime) {
  TSaldoRet r{.Apu = 10, .Diferido = 2, .Diferir = 1};
  const TSaldoRet r2{.PrRecRet = "2023-10-01", .Apu = 5, .Diferido = 2, .Diferir = 1};
  TnFisEFDCreditosApuradosRet loader;
  loader.FConfigBlocoM = Config(TModoGeracao::mgFilial, "1");
  // Presumido (sem EFD nem lucro real): débito fixo do regime cumulativo.
  SaldoRet("TOTALLUCROPRESRETIDO", "DATALCTOFIS", "2024-01-31", r);
  auto lista = loader.Carregar(tiTodos);
  ASSERT_EQ(lista.size(), 1u);
  EXPECT_EQ(lista[0].TIPODEBITO, "4.3.05.51");
  EXPECT_DOUBLE_EQ(lista[0].VLDIFERIDOAPU, 0);

  // Lucro real.
  Linha("OPCAOLUCROREAL").I("CODIGOEMPRESA", 1).D("DATAOPCAO", "2023-01-01").I("APURALUCROREAL", 1).Gravar();
  Host().Servicos().LimparCaches();
  r.TipoDebito = "4.3.05.01";
  SaldoRet("TOTALLUCROREALRETIDOSPED", "DATALCTOFIS", "2024-01-31", r);
  lista = loader.Carregar(tiPIS);
  ASSERT_EQ(lista.size(), 1u);
  EXPECT_EQ(lista[0].TIPODEBITO, "4.3.05.01");

  // EFD: duas linhas do mesmo retido no mesmo total se somam, com os diferimentos.
  Opcao();
  SaldoRet("EFDSALDORETIDOESTAB", "DATATOTAL", "2024-01-31", r);
  SaldoRet("EFDSALDORETIDOESTAB", "DATATOTAL", "2024-01-31", r);
  SaldoRet("EFDSALDORETIDOESTAB", "DATATOTAL", "2024-01-31", r2);
  SaldoRet("EFDSALDORETIDOESTAB", "DATATOTAL", "2024-01-31", r2, 2);
  lista = loader.Carregar(tiPIS);
  ASSERT_EQ(lista.size(), 2u);
  EXPECT_DOUBLE_EQ(lista[0].VLRETAPU, 5);  // período de retenção mais antigo primeiro
  EXPECT_DOUBLE_EQ(lista[1].VLRETAPU, 20);
  EXPECT_DOUBLE_EQ(lista[1].VLDIFERIDOAPU, 4);
  EXPECT_DOUBLE_EQ(lista[1].VLDIFERIRAPU, 2);
  EXPECT_TRUE(loader.Carregar(tiCOFINS).empty());

  // Empresa inteira: a tabela da empresa, sem estabelecimento.
  SaldoRet("EFDSALDORETIDO", "DATATOTAL", "2024-01-31", r2);
  TnFisEFDCreditosApuradosRet empresa;
  empresa.FConfigBlocoM = Config(TModoGeracao::mgEmpresa, "");
  const auto daEmpresa = empresa.Carregar(tiPIS);
  ASSERT_EQ(daEmpresa.size(), 1u);
  EXPECT_DOUBLE_EQ(daEmpresa[0].VLRETAPU, 5);
}

PISCO_INSTANCIAR_BANCOS(CreditosApurados);
