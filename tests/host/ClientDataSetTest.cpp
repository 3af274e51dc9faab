#include <gtest/gtest.h>

#include "host/ClientDataSet.h"
#include "base/Erros.h"
#include "host/FieldMapper.h"
#include "base/Nutil.h"

namespace {

// Tabela de totais como a que os geradores acumulam.
struct TMapTotalTeste : TRowMap {
  PISCO_CAMPO(Origem);
  PISCO_CAMPO(CodigoEstab);
  PISCO_CAMPO(CST);
  PISCO_CAMPO(Valor);
  PISCO_CAMPO(Data);
};

std::unique_ptr<TnClientDataSet> Totais() {
  auto cds = std::make_unique<TnClientDataSet>();
  cds->AddFieldDef("Origem", TFieldType::ftString, 1);
  cds->AddFieldDef("CodigoEstab", TFieldType::ftInteger);
  cds->AddFieldDef("CST", TFieldType::ftString, 2);
  cds->AddFieldDef("Valor", TFieldType::ftFloat);
  cds->AddFieldDef("Data", TFieldType::ftDate);
  cds->CreateDataSet();
  const std::tuple<const char*, int64_t, const char*, double, TDateTime> linhas[] = {
      {"B", 2, "01", 10.5, 45292}, {"A", 1, "50", 3, 45300}, {"B", 1, "01", 7, 45310},
      {"A", 2, "50", 1.65, 45322}, {"B", 1, "02", 0, 45292}};
  TMapTotalTeste m;
  FieldMapper().MapearFields(*cds, m);
  for (const auto& [o, e, c, v, d] : linhas) {
    cds->Append();
    m.Origem.SetValue(std::string(o));
    m.CodigoEstab.SetValue(e);
    m.CST.SetValue(std::string(c));
    m.Valor.SetValue(v);
    m.Data.SetValue(VarDate(d));
    cds->Post();
  }
  return cds;
}

std::vector<std::string> Ordem(TnClientDataSet& cds) {
  std::vector<std::string> r;
  for (cds.First(); !cds.Eof(); cds.Next())
    r.push_back(cds.FieldByName("Origem").AsString() + cds.FieldByName("CodigoEstab").AsString() +
                cds.FieldByName("CST").AsString());
  return r;
}

}  // namespace

TEST(ClientDataSet, OrdemPorIndiceEInclusao) {
  auto cds = Totais();
  EXPECT_EQ(cds->RecordCount(), 5);
  EXPECT_EQ(Ordem(*cds), (std::vector<std::string>{"B201", "A150", "B101", "A250", "B102"}));  // inclusão
  cds->SetIndexFieldNames("Origem;CodigoEstab;CST");
  EXPECT_EQ(Ordem(*cds), (std::vector<std::string>{"A150", "A250", "B101", "B102", "B201"}));
  // inclusões com o índice ativo entram no lugar, sem reordenar tudo: início, meio e fim
  for (const char* o : {"A", "B", "C"}) {
    cds->Append();
    cds->FieldByName("Origem").SetValue(std::string(o));
    cds->FieldByName("CodigoEstab").SetValue(int64_t{1});
    cds->FieldByName("CST").SetValue(std::string("00"));
    cds->Post();
  }
  EXPECT_EQ(Ordem(*cds), (std::vector<std::string>{"A100", "A150", "A250", "B100", "B101", "B102", "B201", "C100"}));
  for (const char* o : {"A", "B", "C"}) {  // achadas pela chave e retiradas: fica a ordem de antes
    ASSERT_TRUE(cds->FindKey({std::string(o), int64_t{1}, std::string("00")})) << o;
    cds->Delete();
  }
  cds->SetIndexFieldNames("Valor");
  EXPECT_EQ(Ordem(*cds), (std::vector<std::string>{"B102", "A250", "A150", "B101", "B201"}));
  cds->SetIndexFieldNames("cst;DATA");  // nomes sem distinção de maiúsculas; empate mantém inclusão
  EXPECT_EQ(Ordem(*cds), (std::vector<std::string>{"B201", "B101", "B102", "A150", "A250"}));
  EXPECT_THROW(cds->SetIndexFieldNames("Origem;Nada"), EBancoDados);
}

TEST(ClientDataSet, OrdemEstritaETamanhoEmCaracteres) {
  // Valores a menos de 1e-9 uns dos outros: uma comparação com tolerância não é transitiva e
  // deixava a ordenação fora de ordem; a busca por chave continua tolerante.
  TnClientDataSet cds;
  cds.AddFieldDef("V", TFieldType::ftFloat);
  cds.AddFieldDef("T", TFieldType::ftString, 3);
  cds.CreateDataSet();
  for (double v : {1.2e-9, 0.6e-9, 0.0}) {
    cds.Append();
    cds.FieldByName("V").SetValue(v);
    cds.FieldByName("T").SetValue(std::string("AÇÃO"));
    cds.Post();
  }
  cds.SetIndexFieldNames("V");
  std::vector<double> ordem;
  for (cds.First(); !cds.Eof(); cds.Next()) ordem.push_back(cds.FieldByName("V").AsFloat());
  EXPECT_EQ(ordem, (std::vector<double>{0.0, 0.6e-9, 1.2e-9}));
  EXPECT_TRUE(cds.FindKey({0.1 + 0.2 - 0.3}));
  EXPECT_EQ(cds.FieldByName("T").AsString(), "AÇÃ");  // o tamanho conta caracteres
}

TEST(ClientDataSet, BuscaPorChaveELocate) {
  auto cds = Totais();
  cds->SetIndexFieldNames("Origem;CodigoEstab;CST");
  // Valor da linha achada; -1 quando não acha.
  const std::pair<TParams, double> casos[] = {
      {{std::string("B"), int64_t{1}, std::string("02")}, 0},
      {{std::string("A"), int64_t{2}}, 1.65},     // chave parcial
      {{std::string("B")}, 7},                    // primeira B na ordem do índice
      {{std::string("B"), std::string("1")}, 7},  // texto convertido para o tipo do campo
      {{std::string("C")}, -1},
      {{std::string("A"), int64_t{3}}, -1},
  };
  for (const auto& [chave, valor] : casos)
    EXPECT_EQ(cds->FindKey(chave) ? cds->FieldByName("Valor").AsFloat() : -1, valor) << VarToStr(chave[0]);
  EXPECT_TRUE(cds->Locate("CST;Valor", {std::string("01"), 7.0}));
  EXPECT_EQ(cds->FieldByName("CodigoEstab").AsInteger(), 1);
  EXPECT_FALSE(cds->Locate("CST", {std::string("99")}));
  EXPECT_THROW(cds->FindKey({std::string("A"), int64_t{1}, std::string("50"), 1.0}), EBancoDados);
}

TEST(ClientDataSet, EdicaoInclusaoExclusao) {
  auto cds = Totais();
  cds->SetIndexFieldNames("Origem;CodigoEstab;CST");
  ASSERT_TRUE(cds->FindKey({std::string("B"), int64_t{1}, std::string("01")}));
  cds->Edit();
  cds->FieldByName("Valor").SetValue(cds->FieldByName("Valor").AsFloat() + 2.5);
  cds->FieldByName("CodigoEstab").SetValue(std::string("3"));  // convertido para inteiro
  cds->Post();
  EXPECT_EQ(cds->FieldByName("Valor").AsFloat(), 9.5);  // continua no registro editado
  EXPECT_EQ(Ordem(*cds), (std::vector<std::string>{"A150", "A250", "B102", "B201", "B301"}));
  // Cancel descarta
  cds->First();
  cds->Edit();
  cds->FieldByName("CST").SetValue(std::string("99"));
  cds->Cancel();
  EXPECT_EQ(cds->FieldByName("CST").AsString(), "50");
  // Delete fica no seguinte
  cds->Delete();
  EXPECT_EQ(cds->RecordCount(), 4);
  EXPECT_EQ(cds->FieldByName("CST").AsString(), "50");
  EXPECT_EQ(cds->FieldByName("CodigoEstab").AsInteger(), 2);
  // texto maior que o tamanho do campo é cortado
  cds->Append();
  cds->FieldByName("Origem").SetValue(std::string("XYZ"));
  cds->Post();
  EXPECT_EQ(cds->FieldByName("Origem").AsString(), "X");
  // fora de edição não se altera
  EXPECT_THROW(cds->FieldByName("Valor").SetValue(1.0), EBancoDados);
  EXPECT_THROW(cds->FieldByName("CodigoEstab").SetValue(std::string("abc")), EBancoDados);
  cds->EmptyDataSet();
  EXPECT_THROW(cds->Edit(), EBancoDados);
}

TEST(ClientDataSet, FiltroComExpressoesDoSistema) {
  auto cds = Totais();
  cds->SetIndexFieldNames("Origem;CodigoEstab;CST");
  const std::string dia = Nutil::ValorParaFiltro(VarDate(45300));
  const std::pair<std::string, std::vector<std::string>> casos[] = {
      {"", {"A150", "A250", "B101", "B102", "B201"}},
      {"Origem = 'B'", {"B101", "B102", "B201"}},
      {"Origem = 'B' and CodigoEstab = 1", {"B101", "B102"}},
      {"CST = " + Nutil::ValorParaFiltro(std::string("50")) + " and Valor = " + Nutil::ValorParaFiltro(1.65), {"A250"}},
      {"Data <= " + dia + " and Data >= " + dia, {"A150"}},
      {"DATA < " + dia, {"B102", "B201"}},
      {"Valor > 1 and Valor <= 10.5 or CST = '02'", {"A150", "A250", "B101", "B102", "B201"}},
      {"(Valor > 5 or CST = '02') and not Origem = 'A'", {"B101", "B102", "B201"}},
      {"Valor <> 0 AND CodigoEstab >= 2", {"A250", "B201"}},
      {"Valor = NULL", {}},
      {"Valor is not null and CST <> '01'", {"A150", "A250", "B102"}},
  };
  for (const auto& [filtro, esperado] : casos) {
    cds->SetFilter(filtro);
    cds->SetFiltered(true);
    EXPECT_EQ(Ordem(*cds), esperado) << filtro;
    EXPECT_EQ(cds->RecordCount(), static_cast<int>(esperado.size())) << filtro;
  }
  cds->SetFiltered(false);
  EXPECT_EQ(cds->RecordCount(), 5);
  // linha nova que não passa no filtro some da visão
  cds->SetFilter("Origem = 'A'");
  cds->SetFiltered(true);
  cds->Append();
  cds->FieldByName("Origem").SetValue(std::string("B"));
  cds->Post();
  EXPECT_EQ(cds->RecordCount(), 2);
  for (const std::string ruim : {"Origem = ", "Origem == 'A'", "= 1", "Origem = 'A", "(Origem = 'A'", "Origem = 'A' xor",
                                 "Valor < NULL", "Origem = abc"}) {
    EXPECT_THROW(cds->SetFilter(ruim), EEntradaInvalida) << ruim;
  }
  EXPECT_THROW(cds->SetFilter("Nada = 1"), EBancoDados);
  EXPECT_EQ(cds->Filter(), "Origem = 'A'");  // o filtro em vigor não muda
  EXPECT_EQ(cds->RecordCount(), 2);
}

TEST(ClientDataSet, NavegacaoEMapaNaoLigado) {
  TnClientDataSet vazio;
  vazio.AddFieldDef("A", TFieldType::ftInteger);
  EXPECT_THROW(vazio.AddFieldDef("a", TFieldType::ftString), EBancoDados);
  vazio.CreateDataSet();
  EXPECT_TRUE(vazio.Eof() && vazio.FieldByName("A").IsNull());
  auto cds = Totais();
  cds->Last();
  EXPECT_EQ(cds->RecNo(), 5);
  cds->Next();
  EXPECT_TRUE(cds->Eof());
  EXPECT_EQ(cds->FieldByName("CST").AsString(), "02");  // depois do fim vale a última linha
  cds->Prior();
  EXPECT_EQ(cds->RecNo(), 5);
  TMapTotalTeste m;
  EXPECT_THROW(m.Valor.AsFloat(), EBancoDados);
  struct TMapFalta : TRowMap {
    PISCO_CAMPO(NaoExiste);
  } falta;
  EXPECT_THROW(FieldMapper().MapearFields(*cds, falta), EBancoDados);
}
