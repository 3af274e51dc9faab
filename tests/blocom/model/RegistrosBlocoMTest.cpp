#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "blocom/model/nFisRepositorioEFDModel_U.h"
#include "fixtures/ArvoreBlocoM.h"

namespace {

using arvore_teste::Chave;

struct TBase {
  int cst;
  double tot, cum, bc, quant;
};

TM105_505DetalheBCCredito& IncluirBase(TM100_500CreditoImposto& c, int seq, const TBase& b) {
  auto& d = c.FM105_505List.Add(Chave(seq), std::make_unique<TM105_505DetalheBCCredito>());
  d.FCST = b.cst;
  d.FVL_BC_TOT = b.tot;
  d.FVL_BC_CUM = b.cum;
  d.FVL_BC = b.bc;
  d.FQUANT_BC = b.quant;
  return d;
}

TEST(TM105_505DetalheBCCredito, BaseDependeDoCST) {
  // Total 1000, cumulativa 300, valor gravado 123,45.
  const std::vector<std::pair<int, double>> casos = {
      {50, 700}, {51, 700}, {60, 700}, {61, 700}, {62, 700},
      {52, 123.45}, {53, 123.45}, {56, 123.45}, {63, 123.45}, {70, 123.45}, {0, 123.45}};
  for (const auto& [cst, esperado] : casos) {
    TM105_505DetalheBCCredito d;
    d.FCST = cst;
    d.FVL_BC_TOT = 1000;
    d.FVL_BC_CUM = 300;
    d.FVL_BC = 123.45;
    EXPECT_DOUBLE_EQ(d.GetVL_BC(), esperado) << "CST " << cst;
    EXPECT_DOUBLE_EQ(d.GetVL_BC_NC(), 700) << "CST " << cst;
  }
}

TEST(TM100_500CreditoImposto, ValorDoCredito) {
  struct Caso {
    const char* nome;
    std::string cod;
    int origem;
    double aliq, aliqQuant, gravado;
    std::vector<TBase> bases;
    double esperado;
  };
  const std::vector<Caso> casos = {
      {"109 usa o gravado", "109", 0, 1.65, 0, 42.42, {{50, 1000, 0, 0, 0}}, 42.42},
      {"101 calcula base x alíquota", "101", 0, 1.65, 0, 42.42, {{50, 1000, 0, 0, 0}}, 16.50},
      {"origem 1 usa o gravado", "101", 1, 1.65, 0, 42.42, {{50, 1000, 0, 0, 0}}, 42.42},
      {"por quantidade", "101", 0, 1.65, 0.5, 0, {{50, 0, 0, 0, 10}, {50, 0, 0, 0, 20}}, 15.00},
      {"quantidade ganha da alíquota", "103", 0, 1.65, 0.8, 0, {{50, 5000, 0, 0, 100}}, 80.00},
      {"base por CST", "101", 0, 7.6, 0, 0, {{50, 1000, 300, 9999, 0}, {52, 1000, 300, 500, 0}},
       91.20},  // (700 + 500) x 7,6%
      {"arredonda meio para cima", "101", 0, 1.65, 0, 0, {{50, 30.3, 0, 0, 0}}, 0.50},
      {"arredonda a 2 casas", "101", 0, 1.65, 0, 0, {{50, 1234.56, 0, 0, 0}}, 20.37},
      {"gravado arredondado", "109", 0, 0, 0, 10.005, {}, 10.01},
      {"sem bases", "101", 0, 1.65, 0, 0, {}, 0},
  };
  for (const auto& c : casos) {
    TM100_500CreditoImposto cred;
    cred.FCOD_CRED = c.cod;
    cred.FIND_CRED_ORI = c.origem;
    cred.FALIQ = c.aliq;
    cred.FALIQ_QUANT = c.aliqQuant;
    cred.FVL_CRED = c.gravado;
    for (size_t i = 0; i < c.bases.size(); ++i) IncluirBase(cred, static_cast<int>(i) + 1, c.bases[i]);
    EXPECT_DOUBLE_EQ(cred.GetVL_CRED(), c.esperado) << c.nome;
  }
}

TEST(TM100_500CreditoImposto, AjustesDisponivelESaldo) {
  TM100_500CreditoImposto cred;
  cred.FCOD_CRED = "109";
  cred.FVL_CRED = 100;
  cred.FVL_CRED_DIF = 4;
  auto& acr = cred.FM110_510List.Add(Chave(1), std::make_unique<TM110_510_220_620AjusteCredImp>());
  acr.FIND_AJ = "1";
  acr.FVL_AJ = 100;  // ignorado: tem detalhes, que se somam
  acr.FM115_515_225_625List.Add(Chave(1), std::make_unique<TM115_515_225_625AjusteCredDet>())
      .DET_VALOR_AJ = 4.5;
  acr.FM115_515_225_625List.Add(Chave(2), std::make_unique<TM115_515_225_625AjusteCredDet>())
      .DET_VALOR_AJ = 2.5;
  auto& red = cred.FM110_510List.Add(Chave(2), std::make_unique<TM110_510_220_620AjusteCredImp>());
  red.FIND_AJ = "0";
  red.FVL_AJ = 3;
  auto& outro = cred.FM110_510List.Add(Chave(3), std::make_unique<TM110_510_220_620AjusteCredImp>());
  outro.FIND_AJ = "X";  // nem acréscimo nem redução
  outro.FVL_AJ = 1000;
  auto& zerado = cred.FM110_510List.Add(Chave(4), std::make_unique<TM110_510_220_620AjusteCredImp>());
  zerado.FIND_AJ = "0";
  zerado.FVL_AJ = 50;  // o detalhe zerado vale, não o gravado
  zerado.FM115_515_225_625List.Add(Chave(1), std::make_unique<TM115_515_225_625AjusteCredDet>());
  EXPECT_DOUBLE_EQ(cred.GetVL_AJUS_ACRES(), 7);
  EXPECT_DOUBLE_EQ(cred.GetVL_AJUS_REDUC(), 3);
  EXPECT_DOUBLE_EQ(cred.GetVL_CRED_DISP(), 100);  // 100 + 7 - 3 - 4

  struct Caso {
    double desc, saldo;
    bool parcial;
  };
  for (const auto& c : std::vector<Caso>{{100, 0, false}, {60, 40, true}, {99.999, 0, false},
                                         {99.994, 0.01, true}, {120, -20, false}}) {
    cred.FVL_CRED_DESC = c.desc;
    EXPECT_NEAR(cred.GetSLD_CRED(), c.saldo, 1e-9) << "descontado " << c.desc;
    EXPECT_EQ(cred.GetIND_DESC_CRED(), c.parcial) << "descontado " << c.desc;
  }
}

// M200 com um M210 por código, cada um com a contribuição dada (base 100, alíquota = valor); a
// base não compensável com retenção é a metade.
struct TContrib {
  std::string codigo;
  double valor;
};

void IncluirContribuicoes(TM200_600ConsolidContribImposto& M, const std::vector<TContrib>& cs) {
  int seq = 0;
  for (const auto& c : cs) {
    auto& d = M.FM210_610List.Add(Chave(++seq), std::make_unique<TM210_610DetalheContrib>());
    d.FCOD_CONT = c.codigo;
    d.FVL_BC_CONT = 100;
    d.FALIQ = c.valor;
    d.FVlBctNCompCred = 100;
    d.FVlBctNCompRet = 50;
  }
}

TEST(TM200_600ConsolidContribImposto, CodigosSeparamNaoCumulativoECumulativo) {
  struct Caso {
    std::vector<TContrib> contrib;
    double naoCumulativo, cumulativo;
  };
  const std::vector<Caso> casos = {
      {{{"01", 10}, {"51", 20}}, 10, 20},
      {{{"01", 10}, {"51", 20}, {"32", 5}}, 15, 25},  // 32 conta nas duas
      {{{"02", 1}, {"03", 2}, {"04", 4}, {"71", 8}}, 15, 0},
      {{{"31", 1}, {"52", 2}, {"53", 4}, {"54", 8}, {"72", 16}}, 0, 31},
      {{{"1", 1}, {"051", 2}}, 1, 2},  // lidos como número
      {{{"05", 1}, {"99", 2}, {"", 4}, {"A1", 8}, {"1 ", 16}}, 0, 0},
  };
  for (const auto& c : casos) {
    TM100_500CreditoImpostoList creditos;
    TM200_600ConsolidContribImposto M(&creditos);
    IncluirContribuicoes(M, c.contrib);
    std::string ctx;
    for (const auto& x : c.contrib) ctx += "[" + x.codigo + "]";
    EXPECT_DOUBLE_EQ(M.GetVL_TOT_CONT_NC_PER(), c.naoCumulativo) << ctx;
    EXPECT_DOUBLE_EQ(M.GetVL_TOT_CONT_CUM_PER(), c.cumulativo) << ctx;
    EXPECT_DOUBLE_EQ(M.GetRecNaoCompCred(), c.naoCumulativo) << ctx;
    double todos = 0;
    for (const auto& x : c.contrib) todos += x.valor;
    EXPECT_DOUBLE_EQ(M.GetRecNaoCompRet(), todos / 2) << ctx;
  }
}

TEST(TM200_600ConsolidContribImposto, DiferencaPequenaNaoViraNegativa) {
  struct Caso {
    double periodo, descontado, anterior, esperado;
  };
  const std::vector<Caso> casos = {
      {1.65, 1.70, 0, 0},         // -0,05 vale 0
      {1.65, 1.75, 0, -0.10},     // -0,10 fica
      {5.20, 5.30, 0, -0.10},     // -0,0999999... na subtração binária continua -0,10
      {0, 0, 0.09, 0},            // crédito anterior de 0,09
      {0, 0, 0.11, -0.11},
      {10, 3, 2, 5},
      {1, 2, 0, -1},
      {0, 0, 0, 0},
  };
  for (const auto& c : casos) {
    TM100_500CreditoImpostoList creditos;
    creditos.Add(Chave(1), std::make_unique<TM100_500CreditoImposto>()).FVL_CRED_DESC =
        c.descontado;
    TM200_600ConsolidContribImposto M(&creditos);
    IncluirContribuicoes(M, {{"01", c.periodo}});
    M.FVL_TOT_CRED_DESC_ANT = c.anterior;
    const std::string ctx = std::to_string(c.periodo) + " - " + std::to_string(c.descontado) +
                            " - " + std::to_string(c.anterior);
    EXPECT_NEAR(M.GetVL_TOT_CONT_NC_DEV(), c.esperado, 1e-9) << ctx;
    EXPECT_DOUBLE_EQ(M.GetVL_TOT_CRED_DESC(), c.descontado) << ctx;
  }
}

TEST(TM200_600ConsolidContribImposto, ValoresARecolher) {
  TM100_500CreditoImpostoList creditos;
  TM200_600ConsolidContribImposto M(&creditos);
  IncluirContribuicoes(M, {{"01", 100}, {"51", 50}});
  creditos.Add(Chave(1), std::make_unique<TM100_500CreditoImposto>()).FVL_CRED_DESC = 30.004;
  M.FVL_TOT_CRED_DESC_ANT = 10;
  M.FVL_RET_NC = 5.555;  // arredondado antes de subtrair
  M.FVL_OUT_DED_NC = 1;
  M.FVL_RET_CUM = 2;
  M.FVL_OUT_DED_CUM = 3;
  EXPECT_DOUBLE_EQ(M.GetVL_TOT_CRED_DESC(), 30);
  EXPECT_NEAR(M.GetVL_TOT_CONT_NC_DEV(), 60, 1e-9);
  EXPECT_NEAR(M.GetVL_CONT_NC_REC(), 60 - 5.56 - 1, 1e-9);
  EXPECT_NEAR(M.GetVL_CONT_CUM_REC(), 45, 1e-9);
  EXPECT_NEAR(M.GetVL_TOT_CONT_REC(), 60 - 5.56 - 1 + 45, 1e-9);
}

}  // namespace
