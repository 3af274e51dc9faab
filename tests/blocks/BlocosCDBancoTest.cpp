// Blocos C (e a gêmea) e D contra o banco (SQLite e PostgreSQL): todo construtor em todo ramo
// prepara e roda sobre a demonstração, cada registro traz linhas para alguma combinação, e os
// registros com valores conferem com consultas de controle escritas aqui.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <tuple>

#include "blocks/BlocosTeste.h"
#include "blocks/CatalogoBlocos.h"
#include "db/Demo.h"
#include "host/ClientDataSet.h"
#include "host/ControlesFiscais.h"
#include "host/Nutildb.h"

namespace {

using RC = TnArqRepositorioSPEDPisCofinsBlocoC;
using RM = TnArqRepositorioSPEDPisCofinsBlocoCMemoria;
using RD = TnArqRepositorioSPEDPisCofinsBlocoD;

const TDateTime kInicio = EncodeDate(2024, 1, 1);
const TDateTime kFim = EncodeDate(2024, 1, 31);

class BlocosCDBanco : public TBancoDemoBlocos {
 protected:
  // Liga ou desliga a apuração do IPI da empresa 1 (muda o HAVING do C100 de entrada).
  void ApuraIPI(bool AValor) {
    Banco().Executar("DELETE FROM OPCAOIPI WHERE CODIGOEMPRESA = 1");
    if (AValor)
      Banco().Executar("INSERT INTO OPCAOIPI (CODIGOEMPRESA, CODIGOESTAB, DATAINICIAL, APURAIPI) VALUES (1, 1, :D, 1)",
                       {VarDate(EncodeDate(2020, 1, 1))});
    ControleIPI().LimparCache();
  }

};

using TMemParans = nArqRepositorioSPEDPisCofinsBlocoCMemoria_U::TnParansBlocoC;

// Todo construtor em todo ramo prepara e roda; cada registro traz linhas em alguma combinação.
TEST_P(BlocosCDBanco, TodoConstrutorEmTodoRamoRoda) {
  std::map<std::string, int64_t> linhas;
  int64_t consultas = 0;
  auto rodar = [&](const std::string& prefixo, const std::vector<TCasoBloco>& casos) {
    for (const auto& c : casos) {
      SCOPED_TRACE(prefixo + c.Nome);
      int64_t n = 0;
      EXPECT_NO_THROW(n = Rodar(c.SQL, c.ValoresReais));
      linhas[prefixo + c.Nome] += n;
      // Os carregadores que abrem com os valores nulos só trazem colunas.
      if (c.Valores != c.ValoresReais) {
        EXPECT_EQ(Rodar(c.SQL, c.Valores), 0);
      }
      ++consultas;
    }
  };
  // Combinações que cobrem cada ramo sem o produto cartesiano inteiro (lento no PostgreSQL):
  // lado, forma do estabelecimento, SCP nas saídas, IndApuracao, dicas de índice e IPI.
  struct TComb {
    int Mov;
    const char* Estab;
    bool Scp;
    int16_t Ind;
    bool Korvel, Ipi;
  };
  std::vector<TComb> combs;
  for (int mov : {0, 1})
    for (const char* estab : {"1", "1,2", ""}) combs.push_back({mov, estab, false, 2, false, false});
  combs.insert(combs.end(), {{0, "3", true, 0, false, false}, {1, "3", true, 0, false, false},
                             {1, "1", true, 2, false, false}, {2, "1", false, 2, false, false},
                             {0, "1", false, 2, true, true}, {1, "", false, 0, true, false}});
  for (const auto& k : combs) {
    Host().Configuracao().ForcarKorvel = k.Korvel;
    ApuraIPI(k.Ipi);
    SCOPED_TRACE(std::string("estab [") + k.Estab + "] mov " + std::to_string(k.Mov) + (k.Scp ? " SCP" : "") + " ind " +
                 std::to_string(k.Ind) + (k.Korvel ? " korvel" : "") + (k.Ipi ? " ipi" : ""));
    rodar("", CasosBlocoC<RC>(TnParansBlocoC{1, k.Estab, kInicio, kFim, false, k.Mov, k.Ind, k.Scp}));
    rodar("mem ", CasosBlocoC<RM>(TMemParans{1, k.Estab, kInicio, kFim, false, k.Mov, k.Ind}));
    if (k.Mov == 0) rodar("", CasosBlocoD(TnParansBlocoD{1, k.Estab, kInicio, kFim, false, k.Scp}));
  }
  Host().Configuracao().ForcarKorvel = false;
  for (const auto& [nome, n] : linhas) EXPECT_GT(n, 0) << nome << ": nenhuma linha na demonstração";
  RecordProperty("consultas", static_cast<int>(consultas));
}

// Carregadores: classe do dataset e valores (nulos, impressora -1, sem estabelecimento).
TEST_P(BlocosCDBanco, CarregadoresDevolvemAClassePedida) {
  const TnParansBlocoC p{1, "1", kInicio, kFim, false, 1, 2, false};
  TnClientDataSet* cli = nullptr;
  RC::CarregarDadosC170(cli, p);
  ASSERT_NE(cli, nullptr);
  EXPECT_TRUE(cli->IsEmpty());
  EXPECT_NE(cli->FindField("INDOPER"), nullptr);
  TDataSet* plano = nullptr;
  RC::CarregarDadosC100(plano, p);
  ASSERT_NE(plano, nullptr);
  EXPECT_EQ(dynamic_cast<TnClientDataSet*>(plano), nullptr);
  EXPECT_FALSE(plano->Eof());
  TDataSet* c405 = nullptr;
  RC::CarregarDadosC405(c405, p);
  ASSERT_NE(c405, nullptr);
  EXPECT_TRUE(c405->Eof());
  TnClientDataSet* c890 = nullptr;
  RC::CarregarDadosC890(c890, p);
  ASSERT_NE(c890, nullptr);

  // A gêmea lê o C170 com os valores reais, num dataset próprio.
  const TMemParans m{1, "1", kInicio, kFim, false, 1, 2};
  std::unique_ptr<TDataSet> itens;
  RM::CarregarDadosC170(itens, m);
  ASSERT_TRUE(itens);
  EXPECT_FALSE(itens->Eof());
  EXPECT_EQ(Rodar(RM::GetSqlC170(m), RM::GetParamsEstabDataLCO(m)), Rodar(RC::GetSqlC170(p), RC::GetParamsEstabData(p)));

  const TnParansBlocoD d{1, "", kInicio, kFim, false, false};
  TDataSet* d100 = nullptr;
  RD::CarregarDadosD100(d100, d);
  ASSERT_NE(d100, nullptr);
  EXPECT_FALSE(d100->Eof());
  TnClientDataSet* d101 = nullptr;
  RD::CarregarDadosD101(d101, d);
  ASSERT_NE(d101, nullptr);
  EXPECT_TRUE(d101->IsEmpty());
  auto pessoas = RD::GetCdsPessoasD600SemMunic(d);
  ASSERT_TRUE(pessoas);
  EXPECT_NE(pessoas->FindField("NOMEPESSOA"), nullptr);
}

// Registros com valores: as linhas do repositório, somadas pela chave que importa (CST, CFOP,
// conta, produto), batem com consultas de controle escritas aqui sobre as tabelas cruas.
TEST_P(BlocosCDBanco, RegistrosComValoresConferemComControle) {
  using TMapa = std::map<std::string, double>;
  auto mapa = [](TDataSet& ds, const std::vector<std::string>& chave, const std::string& valor) {
    TMapa m;
    for (; !ds.Eof(); ds.Next()) {
      std::string k;
      for (const auto& c : chave) k += ds.FieldByName(c).AsString() + "|";
      m[k] += ds.FieldByName(valor).IsNull() ? 0 : ds.FieldByName(valor).AsFloat();
    }
    return m;
  };
  const TnParansBlocoC ps{1, "", kInicio, kFim, false, 1, 2, false};
  const TnParansBlocoC pe{1, "", kInicio, kFim, false, 0, 2, false};
  const TnParansBlocoD pd{1, "", kInicio, kFim, false, false};
  // Pedaços das consultas de controle.
  const std::string per = " BETWEEN :I AND :F ";
  const std::string mercadoria = [](const char* lado, const char* a) {
    return std::string(" AND EXISTS (SELECT 1 FROM LCTOFIS") + lado + "CFOP X WHERE X.CODIGOEMPRESA = " + a +
           ".CODIGOEMPRESA AND X.CHAVELCTOFIS" + lado + " = " + a + ".CHAVELCTOFIS" + lado +
           " AND X.TIPOIMPOSTO IN (1, 3))";
  }("SAI", "L");
  const std::string devolucao = " IN (SELECT CODIGOCFOP FROM CFOP WHERE INDDEVOLUCAO = 1)";
  const std::string transferencia = " IN (SELECT CODIGOCFOP FROM CFOP WHERE INDTRANSFERENCIA = 1)";
  auto saidas = [&](const std::string& campos, const std::string& filtro, const std::string& grupo) {
    return "SELECT " + campos + " FROM LCTOFISSAIPISCOFINS LPC JOIN LCTOFISSAI L ON L.CODIGOEMPRESA = LPC.CODIGOEMPRESA "
           "AND L.CHAVELCTOFISSAI = LPC.CHAVELCTOFISSAI WHERE L.CODIGOEMPRESA = 1 AND L.DATALCTOFIS" + per + filtro +
           " GROUP BY " + grupo;
  };
  auto entradas = [&](const std::string& campos, const std::string& filtro, const std::string& grupo) {
    return "SELECT " + campos + " FROM LCTOFISENTPISCOFINS LPC JOIN LCTOFISENT L ON L.CODIGOEMPRESA = LPC.CODIGOEMPRESA "
           "AND L.CHAVELCTOFISENT = LPC.CHAVELCTOFISENT WHERE L.CODIGOEMPRESA = 1 AND L.DATALCTOFIS" + per + filtro +
           " GROUP BY " + grupo;
  };
  const std::string cfop4 = "CAST(SUBSTR(CAST(LPC.CODIGOCFOP AS VARCHAR(10)), 1, 4) AS INTEGER)";
  struct TCaso {
    const char* Registro;
    std::string SQL;
    TParams Valores;
    std::vector<std::string> Chave;
    std::string Valor;
    std::string Controle;
  };
  const std::vector<TCaso> casos = {
      {"C170", RC::GetSqlC170(ps), RC::GetParamsEstabData(ps), {"CDSITUATRIBUTPIS", "CODIGOCFOP", "CONTACTB"}, "VALORPIS",
       saidas("LPC.CDSITUATRIBUTPIS, LPC.CODIGOCFOP, LPC.CONTACTBEFD CONTACTB, SUM(LPC.VALORPIS) VALORPIS",
              " AND L.CDMODELO IN ('1', '1B', '4', '55') AND L.CDSITUACAO IN (0, 1, 6, 7, 8, 99)" + mercadoria,
              "LPC.CDSITUATRIBUTPIS, LPC.CODIGOCFOP, LPC.CONTACTBEFD")},
      {"C175", RC::GetSqlC175(ps), RC::GetParamsEstabData(ps), {"CDSITUATRIBUTPIS", "CODIGOCFOP", "CONTACTB"},
       "RECEITAPISCOFINS",
       saidas("LPC.CDSITUATRIBUTPIS, " + cfop4 + " CODIGOCFOP, LPC.CONTACTBEFD CONTACTB, SUM(LPC.RECEITAPISCOFINS) "
              "RECEITAPISCOFINS",
              " AND L.CDMODELO = '65'" + mercadoria + " AND LPC.CODIGOCFOP NOT" + transferencia,
              "LPC.CDSITUATRIBUTPIS, " + cfop4 + ", LPC.CONTACTBEFD")},
      {"C181_185", RC::GetSqlC181_185(ps), RC::GetParamsEstabData(ps), {"CODIGOPRODUTO", "CDSITUATRIBUTCOFINS", "CODIGOCFOP"},
       "VALORCOFINS",
       saidas("LPC.CODIGOPRODUTO, LPC.CDSITUATRIBUTCOFINS, " + cfop4 + " CODIGOCFOP, SUM(LPC.VALORCOFINS) VALORCOFINS",
              " AND L.CDMODELO IN ('55', '65') AND LPC.TIPODEBITO <> '4.3.05.00'" + mercadoria +
                  " AND LPC.CODIGOCFOP NOT" + devolucao + " AND LPC.CODIGOCFOP NOT" + transferencia,
              "LPC.CODIGOPRODUTO, LPC.CDSITUATRIBUTCOFINS, " + cfop4)},
      {"C191_195", RC::GetSqlC191_195(ps), RC::GetParamsEstabData(ps), {"CODIGOPRODUTO", "CDSITUATRIBUTPIS", "INDOPER"},
       "VALORPIS",
       entradas("LPC.CODIGOPRODUTO, LPC.CDSITUATRIBUTPIS, 0 INDOPER, SUM(LPC.VALORPIS) VALORPIS",
                " AND L.CDMODELO = '55' AND LPC.VALORPIS + LPC.VALORCOFINS > 0 AND LPC.CODIGOCFOP NOT" + transferencia,
                "LPC.CODIGOPRODUTO, LPC.CDSITUATRIBUTPIS") +
           " UNION ALL " +
           saidas("LPC.CODIGOPRODUTO, LPC.CDSITUATRIBUTPIS, 1 INDOPER, SUM(LPC.VALORPIS) VALORPIS",
                  " AND L.CDMODELO = '55' AND LPC.VALORPIS + LPC.VALORCOFINS > 0 AND LPC.CODIGOCFOP" + devolucao,
                  "LPC.CODIGOPRODUTO, LPC.CDSITUATRIBUTPIS")},
      {"C381", RC::GetSqlC381(ps), [&] { TParams v = RC::GetParamsEstabData(ps); v.emplace_back(int64_t{0});
                                         v.emplace_back(int64_t{999999999}); return v; }(),
       {"CDSITUATRIBUTPIS", "CONTACTB"}, "VALORPIS",
       saidas("LPC.CDSITUATRIBUTPIS, LPC.CONTACTBEFD CONTACTB, SUM(LPC.VALORPIS) VALORPIS", " AND L.CDMODELO = '2'",
              "LPC.CDSITUATRIBUTPIS, LPC.CONTACTBEFD")},
      {"C481", RC::GetSqlC481(ps), [&] { TParams v = RC::GetParamsEstabData(ps); v.emplace_back(int64_t{1}); return v; }(),
       {"CODIGOREDUCAOZ", "CDSITUATRIBUTPIS"}, "VALORPIS",
       saidas("L.CODIGOREDUCAOZ, LPC.CDSITUATRIBUTPIS, SUM(LPC.VALORPIS) VALORPIS", " AND L.CODIGOREDUCAOZ IS NOT NULL",
              "L.CODIGOREDUCAOZ, LPC.CDSITUATRIBUTPIS")},
      {"C505", RC::GetSqlC505(pe), RC::GetParamsEstabData(pe), {"CDSITUATRIBUTCOFINS", "TIPOCREDITO"}, "VALORCOFINS",
       entradas("LPC.CDSITUATRIBUTCOFINS, LPC.TIPOCREDITO, SUM(LPC.VALORCOFINS) VALORCOFINS",
                " AND L.CDMODELO IN ('6', '66', '28', '29')", "LPC.CDSITUATRIBUTCOFINS, LPC.TIPOCREDITO")},
      {"C601", RC::GetSqlC601(ps), RC::GetParamsEstabData(ps), {"CDSITUATRIBUTPIS", "CONTACTB"}, "VALORPIS",
       saidas("LPC.CDSITUATRIBUTPIS, LPC.CONTACTBEFD CONTACTB, SUM(LPC.VALORPIS) VALORPIS",
              " AND L.CDMODELO IN ('6', '66', '28', '29')", "LPC.CDSITUATRIBUTPIS, LPC.CONTACTBEFD")},
      {"C870", RC::GetSqlC870(ps), RC::GetParamsEstabData(ps), {"CDSITUATRIBUTPIS", "CONTACTB"}, "VALORPIS",
       saidas("LPC.CDSITUATRIBUTPIS, LPC.CONTACTBEFD CONTACTB, SUM(LPC.VALORPIS) VALORPIS",
              " AND L.CDMODELO = '59' AND LPC.QUANTIDADE = 0", "LPC.CDSITUATRIBUTPIS, LPC.CONTACTBEFD")},
      {"C880", RC::GetSqlC880(ps), RC::GetParamsEstabData(ps), {"CDSITUATRIBUTPIS", "CONTACTB"}, "QUANTIDADE",
       saidas("LPC.CDSITUATRIBUTPIS, LPC.CONTACTBEFD CONTACTB, SUM(LPC.QUANTIDADE) QUANTIDADE",
              " AND L.CDMODELO = '59' AND LPC.QUANTIDADE > 0", "LPC.CDSITUATRIBUTPIS, LPC.CONTACTBEFD")},
      {"D101", RD::GetSqlD101(pd), RD::GetParamsEstabData(pd), {"CDSITUATRIBUTPIS", "CONTACTB"}, "VALORPIS",
       entradas("LPC.CDSITUATRIBUTPIS, LPC.CONTACTBEFD CONTACTB, SUM(LPC.VALORPIS) VALORPIS",
                " AND L.CDMODELO IN ('7', '8', '8B', '9', '10', '11', '26', '27', '57', '63', '67') "
                "AND LPC.VALORPIS + LPC.VALORCOFINS > 0",
                "LPC.CDSITUATRIBUTPIS, LPC.CONTACTBEFD")},
      {"D201", RD::GetSqlD201(pd), RD::GetParamsEstabData(pd), {"CDSITUATRIBUTPIS", "CODIGOCFOP", "CONTACTB"}, "VALORPIS",
       saidas("LPC.CDSITUATRIBUTPIS, " + cfop4 + " CODIGOCFOP, LPC.CONTACTBEFD CONTACTB, SUM(LPC.VALORPIS) VALORPIS",
              " AND L.CDMODELO IN ('7', '8', '8B', '9', '10', '11', '26', '27', '57', '63', '67')",
              "LPC.CDSITUATRIBUTPIS, " + cfop4 + ", LPC.CONTACTBEFD")},
      {"D505", RD::GetSqlD505(pd), RD::GetParamsEstabData(pd), {"CDSITUATRIBUTCOFINS", "CONTACTB"}, "VALORCOFINS",
       entradas("LPC.CDSITUATRIBUTCOFINS, LPC.CONTACTBEFD CONTACTB, SUM(LPC.VALORCOFINS) VALORCOFINS",
                " AND L.CDMODELO IN ('21', '22')", "LPC.CDSITUATRIBUTCOFINS, LPC.CONTACTBEFD")},
      {"D601", RD::GetSqlD601(pd), RD::GetParamsEstabData(pd), {"CDSITUATRIBUTPIS", "CONTACTB"}, "VALORPIS",
       saidas("LPC.CDSITUATRIBUTPIS, LPC.CONTACTBEFD CONTACTB, SUM(LPC.VALORPIS) VALORPIS",
              " AND L.CDMODELO IN ('21', '22') AND EXISTS (SELECT 1 FROM LCTOFISSAIPRODUTOSPEDD510 SP WHERE "
              "SP.CODIGOEMPRESA = LPC.CODIGOEMPRESA AND SP.CHAVELCTOFISSAI = LPC.CHAVELCTOFISSAI AND SP.SEQ = LPC.SEQ)",
              "LPC.CDSITUATRIBUTPIS, LPC.CONTACTBEFD")},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Registro);
    auto ds = Nutildb::ExecutarSQL(c.SQL, c.Valores);
    const TMapa obtido = mapa(*ds, c.Chave, c.Valor);
    auto ctl = Banco().Abrir(c.Controle, {VarDate(kInicio), VarDate(kFim)});
    const TMapa esperado = mapa(*ctl, c.Chave, c.Valor);
    ASSERT_FALSE(esperado.empty()) << "a demonstração deveria ter linhas";
    ASSERT_EQ(obtido.size(), esperado.size());
    for (const auto& [k, v] : esperado) {
      ASSERT_TRUE(obtido.count(k)) << k;
      EXPECT_NEAR(obtido.at(k), v, 0.011 * std::max(1.0, std::abs(v) / 1000)) << k;
    }
  }
}

PISCO_INSTANCIAR_BANCOS(BlocosCDBanco);

}  // namespace
