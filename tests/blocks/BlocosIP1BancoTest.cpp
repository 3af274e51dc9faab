// Blocos I, P e 1 contra o banco (SQLite e PostgreSQL): todo construtor em todo ramo (regime,
// datas de corte, opção do 1900, caixa) prepara e roda; os totais conferem com consultas de
// controle; o P200 em memória e a reexecução dos carregadores do bloco P. O bloco I roda sobre
// o banco da demonstração.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
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

// Bloco I sobre o banco da demonstração (empresa 5), nas três tabelas de deduções.
class BlocoIBanco : public BlocosIP1Banco {
 protected:
  static constexpr int kBanco = 5;
  int EmpresasDemo() const override { return kBanco; }

  // Linhas de uma consulta por chave (colunas-chave unidas por '|'), com as colunas de valor.
  using TLinhas = std::map<std::string, std::vector<double>>;
  static TLinhas Agrupar(TDataSet& ds, const std::vector<std::string>& AChave, const std::vector<std::string>& AValores) {
    TLinhas r;
    for (; !ds.Eof(); ds.Next()) {
      std::string k;
      for (const auto& c : AChave) {
        const auto& f = ds.FieldByName(c);
        // alíquotas e códigos vêm como texto, inteiro ou real conforme o banco: normaliza
        k += (f.IsNull() ? std::string("-") : c.rfind("ALIQ", 0) == 0 ? std::to_string(std::lround(f.AsFloat() * 10000))
                                                                    : f.AsString()) + "|";
      }
      auto& v = r[k];
      v.resize(AValores.size());
      for (size_t i = 0; i < AValores.size(); ++i)
        v[i] += ds.FieldByName(AValores[i]).IsNull() ? 0 : ds.FieldByName(AValores[i]).AsFloat();
    }
    return r;
  }
  TLinhas Esperado(const std::string& ASQL, const std::vector<std::string>& AChave,
                   const std::vector<std::string>& AValores) {
    auto ds = Banco().Abrir(ASQL, {VarDate(kInicio), VarDate(kFim)});
    return Agrupar(*ds, AChave, AValores);
  }
  static void Conferir(const TLinhas& AObtido, const TLinhas& AEsperado) {
    ASSERT_EQ(AObtido.size(), AEsperado.size());
    for (const auto& [k, v] : AEsperado) {
      ASSERT_EQ(AObtido.count(k), 1u) << k;
      for (size_t i = 0; i < v.size(); ++i) EXPECT_NEAR(AObtido.at(k)[i], v[i], 0.005) << k << " coluna " << i;
    }
  }
};

// Todo texto roda nas três tabelas (a do presumido com a empresa 2, que tem deduções nela); I100
// e I200/I300 conferem, por CST e alíquotas, com consultas de controle. Os códigos de sete
// dígitos valem pelos quatro primeiros: pela faixa, geral é abaixo de 100 ou entre 1001 e
// 99999; específico, de 101 a 1000 ou de 100000 em diante.
TEST_P(BlocoIBanco, TextosConferemComConsultasDeControleNasTresTabelas) {
  struct TCaso {
    const char* Tabela;
    int Empresa;
    bool EFD, LR;
  };
  // O banco é optante da EFD e do lucro real: a tabela da EFD vem primeiro.
  const TCaso casos[] = {{"EFDDEDUCAOEXCLUSAO", kBanco, true, true},
                         {"LUCROREALDEDUCAOEXCLUSAO", kBanco, false, true},
                         {"LUCROPRESDEDUCAOEXCLUSAO", 2, false, false}};
  double gerais[3] = {0, 0, 0}, especificas[3] = {0, 0, 0};
  for (int n = 0; n < 3; ++n) {
    const TCaso& caso = casos[n];
    const std::string tabela = caso.Tabela, empresa = std::to_string(caso.Empresa);
    SCOPED_TRACE(tabela);
    const TnParansBlocoI i{caso.Empresa, 1, kInicio, kFim, caso.EFD, caso.LR};
    for (const auto& c : CasosBlocoI(i)) EXPECT_GT(Rodar(c.SQL, c.Valores), 0) << c.Nome;
    const std::string vendas =
        " FROM LCTOFISSAIPISCOFINS LP JOIN PRODUTO P ON P.CODIGOEMPRESA = LP.CODIGOEMPRESA AND P.CODIGOPRODUTO = "
        "LP.CODIGOPRODUTO WHERE LP.CODIGOEMPRESA = " + empresa + " AND LP.CODIGOESTAB = 1 AND LP.DATALCTOFIS "
        "BETWEEN :I AND :F AND P.CODIGORECEITA IS NOT NULL ";
    const std::string deducoes = " FROM " + tabela + " WHERE CODIGOEMPRESA = " + empresa +
                                 " AND CODIGOESTAB = 1 AND DATALCTOFIS BETWEEN :I AND :F ";

    // I100: vendas por CST e alíquotas, com as deduções do mesmo CST e alíquotas ao lado.
    auto ds = Nutildb::ExecutarSQL(RI::GetSqlI100(i), RI::GetParams(i));
    const std::vector<std::string> chave = {"CSTDET", "ALIQPIS", "ALIQCOFINS"};
    const TLinhas obtido = Agrupar(*ds, chave, {"VALORRECEITA", "BASECALCULO", "VALORPIS", "VALORCOFINS",
                                                "VALORDETGER", "VALORDETESP"});
    TLinhas esperado = Esperado("SELECT LP.CDSITUATRIBUTPIS CSTDET, LP.ALIQPIS, LP.ALIQCOFINS, SUM(LP.RECEITAPISCOFINS) "
                                "R, SUM(LP.BASECALCULOPISCOFINS) B, SUM(LP.VALORPIS) P, SUM(LP.VALORCOFINS) C, 0 G, 0 E" +
                                    vendas + "GROUP BY LP.CDSITUATRIBUTPIS, LP.ALIQPIS, LP.ALIQCOFINS",
                                chave, {"R", "B", "P", "C", "G", "E"});
    const TLinhas det = Esperado(
        "SELECT CSTDET, ALIQPIS, ALIQCOFINS, SUM(CASE WHEN CODIGODET < 100 OR CODIGODET BETWEEN 1001 AND 99999 THEN "
        "VALORDET ELSE 0 END) G, SUM(CASE WHEN CODIGODET BETWEEN 101 AND 1000 OR CODIGODET >= 100000 THEN VALORDET "
        "ELSE 0 END) E" + deducoes + "GROUP BY CSTDET, ALIQPIS, ALIQCOFINS",
        chave, {"G", "E"});
    for (const auto& [k, v] : det)
      if (auto it = esperado.find(k); it != esperado.end()) {
        it->second[4] = v[0];
        it->second[5] = v[1];
        gerais[n] += v[0];
        especificas[n] += v[1];
      }
    Conferir(obtido, esperado);

    // I200/I300: receitas por CST, alíquotas, código de receita e conta (campo 2) e cada dedução
    // com o seu código (campo 4 as gerais, 5 as demais).
    ds = Nutildb::ExecutarSQL(RI::GetSqlI200_I300(i), RI::GetParams(i));
    const std::vector<std::string> chave2 = {"TIPO", "NUMCAMPO", "CSTDET", "ALIQPIS", "ALIQCOFINS", "CODIGORECEITA",
                                             "CONTACTBEFD"};
    esperado = Esperado("SELECT 'R' TIPO, 2 NUMCAMPO, LP.CDSITUATRIBUTPIS CSTDET, LP.ALIQPIS, LP.ALIQCOFINS, "
                        "P.CODIGORECEITA, LP.CONTACTBEFD, SUM(LP.RECEITAPISCOFINS) V" + vendas +
                            "GROUP BY LP.CDSITUATRIBUTPIS, LP.ALIQPIS, LP.ALIQCOFINS, P.CODIGORECEITA, LP.CONTACTBEFD",
                        chave2, {"V"});
    const TLinhas detalhes = Esperado("SELECT 'D' TIPO, CASE WHEN CODIGODET < 100 THEN 4 ELSE 5 END NUMCAMPO, CSTDET, "
                                      "ALIQPIS, ALIQCOFINS, CODIGODET CODIGORECEITA, NULL CONTACTBEFD, VALORDET V" +
                                          deducoes,
                                      chave2, {"V"});
    esperado.insert(detalhes.begin(), detalhes.end());
    Conferir(Agrupar(*ds, chave2, {"VALORRECEITA"}), esperado);
  }
  // A demonstração chega aos dois lados do corte (senão as conferências acima nada provam).
  EXPECT_NEAR(gerais[0], 2250.00, 0.005);
  EXPECT_NEAR(especificas[0], 850.00, 0.005);
  EXPECT_NEAR(gerais[1], 900.00, 0.005);
  EXPECT_NEAR(especificas[1], 300.00, 0.005);
  EXPECT_GT(especificas[2], 0);

  // I010: '7' das receitas vira 1; das deduções a partir de 100, '3' fica 3 e '7' vira 1.
  const TnParansBlocoI efd{kBanco, 1, kInicio, kFim, true, false};
  auto ds = Nutildb::ExecutarSQL(RI::GetSqlI010(efd), RI::GetParams(efd));
  std::multiset<int64_t> indicadores;
  for (; !ds->Eof(); ds->Next()) indicadores.insert(ds->FieldByName("INDATIVIDADE").AsInteger());
  EXPECT_EQ(indicadores, (std::multiset<int64_t>{1, 1, 3}));
  EXPECT_TRUE(RI::MovimentacaoEstab(efd));
  EXPECT_FALSE(RI::MovimentacaoEstab(TnParansBlocoI{kBanco, 2, kInicio, kFim, true, false}));
}

PISCO_INSTANCIAR_BANCOS(BlocoIBanco);

}  // namespace
