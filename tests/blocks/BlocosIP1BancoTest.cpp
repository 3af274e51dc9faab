// Blocos I, P e 1 contra o banco (SQLite e PostgreSQL): todo construtor em todo ramo (regime,
// datas de corte, opção do 1900, caixa) prepara e roda; os totais conferem com consultas de
// controle; o P200 em memória e a reexecução dos carregadores do bloco P.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "blocks/BlocosTeste.h"
#include "blocks/CatalogoBlocos.h"
#include "db/Demo.h"
#include "host/ClientDataSet.h"
#include "host/Nutildb.h"

namespace {

using RI = TnArqRepositorioSPEDPisCofinsBlocoI;
using RP = TnArqRepositorioSPEDPisCofinsBlocoP;
using R1 = TnArqRepositorioSPEDPisCofinsBloco1;

const TDateTime kInicio = EncodeDate(2024, 1, 1);
const TDateTime kFim = EncodeDate(2024, 1, 31);
const char* kProcesso20 = "0012345-67.2019.4.03";

class BlocosIP1Banco : public TBancoDemoBlocos {
 protected:
  double Somar(const std::string& ASQL, const TParams& AValores, const std::string& ACampo) {
    auto ds = Nutildb::ExecutarSQL(ASQL, AValores);
    double t = 0;
    for (; !ds->Eof(); ds->Next()) t += ds->FieldByName(ACampo).IsNull() ? 0 : ds->FieldByName(ACampo).AsFloat();
    return t;
  }
  double Controle(const std::string& ASQL) {
    auto ds = Banco().Abrir(ASQL, {VarDate(kInicio), VarDate(kFim)});
    return ds->Eof() || ds->Fields(0).IsNull() ? 0 : ds->Fields(0).AsFloat();
  }
};

TEST_P(BlocosIP1Banco, TodoConstrutorEmTodoRamoRoda) {
  std::map<std::string, int64_t> linhas;
  auto rodar = [&](const std::vector<TCasoBloco>& casos, bool AContar) {
    for (const auto& c : casos) {
      SCOPED_TRACE(c.Nome);
      int64_t n = 0;
      EXPECT_NO_THROW(n = Rodar(c.SQL, c.Valores));
      if (AContar) linhas[c.Nome] += n;
    }
  };
  for (int regime = 0; regime < 3; ++regime)
    for (int estab : {1, 2}) {
      SCOPED_TRACE("I regime " + std::to_string(regime) + " estab " + std::to_string(estab));
      rodar(CasosBlocoI(TnParansBlocoI{1, estab, kInicio, kFim, regime == 0, regime == 1}), true);
    }
  // Cortes do bloco P: 2012 antes de abril (operações da lei original), 2012 inteiro, 2013 antes
  // de agosto (lista de CST antiga) e o período da demonstração.
  const std::pair<TDateTime, TDateTime> periodos[] = {{EncodeDate(2012, 3, 1), EncodeDate(2012, 3, 31)},
                                                      {EncodeDate(2012, 12, 1), EncodeDate(2012, 12, 31)},
                                                      {EncodeDate(2013, 5, 1), EncodeDate(2013, 5, 31)},
                                                      {kInicio, kFim}};
  for (const auto& [ini, fim] : periodos)
    for (const char* estab : {"1", "1,2", ""}) {
      SCOPED_TRACE(std::string("P estab [") + estab + "] " + DataISO(ini));
      rodar(CasosBlocoP(TnParansBlocoP{1, estab, ini, fim, false, 1}), ini == kInicio);
    }
  for (bool consolidado : {false, true}) {
    OpcaoConsolidada(consolidado);
    for (const char* estab : {"1", "1,2", ""})
      for (const char* proc : {"", kProcesso20}) {
        SCOPED_TRACE(std::string("1 estab [") + estab + "] proc [" + proc + "]" + (consolidado ? " consolidado" : ""));
        rodar(CasosBloco1(TnParansBloco1{1, estab, kInicio, kFim}, proc), true);
      }
  }
  for (const auto& [nome, n] : linhas) EXPECT_GT(n, 0) << nome << ": nenhuma linha na demonstração";
}

// Totais conferidos com consultas de controle escritas aqui.
TEST_P(BlocosIP1Banco, TotaisConferemComConsultasDeControle) {
  // I100: receita das vendas de produtos com código de receita, por estabelecimento.
  const TnParansBlocoI i{1, 1, kInicio, kFim, true, false};
  EXPECT_NEAR(Somar(RI::GetSqlI100(i), RI::GetParams(i), "VALORRECEITA"),
              Controle("SELECT SUM(LP.RECEITAPISCOFINS) FROM LCTOFISSAIPISCOFINS LP JOIN PRODUTO P ON "
                       "P.CODIGOEMPRESA = LP.CODIGOEMPRESA AND P.CODIGOPRODUTO = LP.CODIGOPRODUTO WHERE "
                       "LP.CODIGOEMPRESA = 1 AND LP.CODIGOESTAB = 1 AND LP.DATALCTOFIS BETWEEN :I AND :F AND "
                       "P.CODIGORECEITA IS NOT NULL"),
              0.01);
  // I100: deduções gerais (código < 100) do regime escolhido somadas na coluna VALORDETGER.
  const double ger = Controle("SELECT SUM(VALORDET) FROM EFDDEDUCAOEXCLUSAO WHERE CODIGOEMPRESA = 1 AND CODIGOESTAB = 1 "
                              "AND DATALCTOFIS BETWEEN :I AND :F AND CODIGODET < 100");
  EXPECT_LE(Somar(RI::GetSqlI100(i), RI::GetParams(i), "VALORDETGER"), ger + 0.01);
  EXPECT_TRUE(RI::MovimentacaoEstab(i));
  EXPECT_FALSE(RI::MovimentacaoEstab(TnParansBlocoI{1, 99, kInicio, kFim, true, false}));

  // P100 (2013 em diante): receita líquida da obra e exclusões das devoluções, sem 13050.
  const TnParansBlocoP p{1, "", kInicio, kFim, false, 1};
  const TParams vp = RP::GetParamsEstabData(p);
  EXPECT_NEAR(Somar(RP::GetSqlP100(p), vp, "VALORRECEITA"),
              Controle("SELECT SUM(T.VALORTOTAL3 + T.VALORTOTAL4) - (SELECT SUM(O.VALORTOTAL3 + O.VALORTOTAL4) FROM "
                       "TOTALCONTPATRONALOBRADET O WHERE O.CODIGOEMPRESA = 1 AND O.DATATOTAL BETWEEN :I AND :F) FROM "
                       "TOTALCONTPATRONALDET T WHERE T.CODIGOEMPRESA = 1 AND T.DATATOTAL BETWEEN :I AND :F AND "
                       "T.CODIGOCFOP = 5102 AND T.CODIGOOPERACAOFIS <> 13050"),
              0.01);
  EXPECT_NEAR(Somar(RP::GetSqlP100(p), vp, "VALOREXCLUSAO"),
              Controle("SELECT SUM(VALORTOTAL3 + VALORTOTAL4) FROM TOTALCONTPATRONALDET WHERE CODIGOEMPRESA = 1 AND "
                       "DATATOTAL BETWEEN :I AND :F AND CODIGOCFOP = 1202"),
              0.01);
  // P200 em memória: totais por código de receita mais os ajustes da operação.
  std::unique_ptr<TDataSet> p200;
  RP::CarregarDadosP200(p200, p);
  ASSERT_TRUE(p200);
  std::map<std::pair<int64_t, int64_t>, double> obtido;
  for (; !p200->Eof(); p200->Next())
    obtido[{p200->FieldByName("CODIGOIMPOSTO").AsInteger(), p200->FieldByName("VARIACAOIMPOSTO").AsInteger()}] +=
        p200->FieldByName("VALORDEBITO").AsFloat();
  const double ajuste = Controle("SELECT SUM(CASE WHEN INDAJUSTE = '1' THEN VLRAJUSTE ELSE -VLRAJUSTE END) FROM "
                                 "CONTPATRONALAJUSTE WHERE CODIGOEMPRESA = 1 AND DATALCTOFIS BETWEEN :I AND :F");
  auto total = [&](int cfop) {
    return Controle("SELECT SUM(VALORTOTAL2) FROM TOTALCONTPATRONALDET WHERE CODIGOEMPRESA = 1 AND DATATOTAL "
                    "BETWEEN :I AND :F AND CODIGOCFOP = " + std::to_string(cfop));
  };
  ASSERT_EQ(obtido.size(), 2u);
  EXPECT_NEAR((obtido[{2985, 1}]), total(5102) + ajuste, 0.01);
  EXPECT_NEAR((obtido[{2991, 2}]), total(1202) + ajuste, 0.01);

  // 1900: detalhado e consolidado dão a mesma receita: saídas do período mais demais documentos.
  const TnParansBloco1 b{1, "", kInicio, kFim};
  const double receita = Controle("SELECT (SELECT SUM(RECEITAPISCOFINS) FROM LCTOFISSAIPISCOFINS WHERE CODIGOEMPRESA = 1 "
                                  "AND DATALCTOFIS BETWEEN :I AND :F) + (SELECT SUM(VALOROPER) FROM EFDF100DEMAISDOC "
                                  "WHERE CODIGOEMPRESA = 1 AND DATALCTOFIS BETWEEN :I AND :F AND INDOPER IN (1, 2))");
  for (bool consolidado : {false, true}) {
    OpcaoConsolidada(consolidado);
    EXPECT_NEAR(Somar(R1::GetSql1900(b, false) + R1::GetSql1900NFCanc(b), R1::GetParamsEmpData(b), "RECEITAPISCOFINS"),
                receita, 0.05)
        << (consolidado ? "consolidado" : "detalhado");
  }
  EXPECT_NEAR(Somar(R1::GetSql1050(b), R1::GetParamsEmpData(b), "VLAJPIS"),
              Controle("SELECT SUM(VLAJPIS) FROM EFDEXCAJUSBCPISCOFINSDET WHERE CODIGOEMPRESA = 1 AND :I <= :F"), 0.001);
}

// Bloco P: com dataset aberto e sem agrupar, reexecuta no mesmo objeto; agrupando, troca.
TEST_P(BlocosIP1Banco, CarregadorDoBlocoPReexecutaOuTroca) {
  TnParansBlocoP p{1, "", kInicio, kFim, false, 1};
  std::unique_ptr<TDataSet> ds;
  RP::CarregarDadosP210(ds, p);
  ASSERT_TRUE(ds);
  EXPECT_EQ(Rodar(RP::GetSqlP210(p), RP::GetParamsEstabData(p)), 2);
  TDataSet* antes = ds.get();
  p.DataInicial = EncodeDate(2023, 1, 1);
  p.DataFinal = EncodeDate(2023, 1, 31);
  RP::CarregarDadosP210(ds, p);
  EXPECT_EQ(ds.get(), antes);
  EXPECT_TRUE(ds->Eof());  // mês sem ajustes
  p.AgruparFiliais = true;
  p.DataInicial = kInicio;
  p.DataFinal = kFim;
  RP::CarregarDadosP210(ds, p);
  ASSERT_TRUE(ds);
  EXPECT_FALSE(ds->Eof());
}

PISCO_INSTANCIAR_BANCOS(BlocosIP1Banco);

}  // namespace
