// Serviços do host sobre o banco: filtro de estabelecimentos, cache de SQL, PegarValorCampo.
#include <gtest/gtest.h>

#include <thread>

#include "fixtures/Bancos.h"
#include "host/ClientDataSet.h"
#include "host/DMSQLDataSet.h"
#include "base/Erros.h"
#include "base/MensagemErro.h"
#include "base/Nutil.h"
#include "host/Nutildb.h"
#include "host/Nutilinclusao.h"
#include "host/SQLCache.h"

class ServicosBanco : public TBancoTeste {
 protected:
  void SetUp() override {
    TBancoTeste::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    Banco().ExecutarScript(
        "CREATE TABLE ESTAB (CODIGOEMPRESA INTEGER, CODIGOESTAB INTEGER, SOCIEDADECONTAPARTICIPACAO VARCHAR(1), "
        "INSCRICAOSCP VARCHAR(14), VALORTOTAL3 " + TipoValor() + ")");
    Banco().Executar("INSERT INTO ESTAB VALUES (1, 1, '0', NULL, 10.10), (1, 2, '1', '12345678000199', 0.20), "
                     "(1, 3, '1', '98765432000111', 0.10), (2, 1, '0', NULL, 5.0)");
  }
};

TEST_P(ServicosBanco, FiltroDeEstabelecimentosNaConsulta) {
  // a notação dos estabelecimentos executada: lista, intervalo, zeros à esquerda, separadores vazios
  const std::pair<std::string, int64_t> casos[] = {
      {"", 3},       {" ,; ", 3}, {" 03 ", 1},  {"1,3", 2},     {"1;3", 2},  {"1, 3 ;, 2", 3},
      {"2-3", 2},    {"3 - 3", 1}, {"1,3;2-3", 3}, {"4-9", 0}, {"999999999999999999", 0}};
  for (const auto& [texto, quantos] : casos) {
    auto ds = Nutildb::ExecutarSQL("SELECT COUNT(*) AS N FROM ESTAB WHERE CODIGOEMPRESA = :E " +
                                       FilterInterval({"CODIGOESTAB"}, texto) + " AND VALORTOTAL3 >= :V",
                                   {int64_t{1}, 0.0});
    EXPECT_EQ(ds->FieldByName("N").AsInteger(), quantos) << texto;
  }
  auto exclusao = Nutildb::ExecutarSQL("SELECT COUNT(*) AS N FROM ESTAB WHERE CODIGOEMPRESA = 1" +
                                       FilterInterval({"CODIGOESTAB"}, "1,2", {tiExExclusao}));
  EXPECT_EQ(exclusao->FieldByName("N").AsInteger(), 1);
}

TEST_P(ServicosBanco, PegarValorCampo) {
  const std::tuple<std::string, std::string, std::string> casos[] = {  // coluna, condição, valor
      {"INSCRICAOSCP", "CODIGOEMPRESA = " + Nutil::ValorParaSQL(int64_t{1}) + " and CODIGOESTAB = " +
                           Nutil::ValorParaSQL(int64_t{3}), "98765432000111"},
      {"INSCRICAOSCP", "CODIGOEMPRESA = 1 and CODIGOESTAB = 1", "<nulo>"},
      {"INSCRICAOSCP", "CODIGOEMPRESA = 9", "<nulo>"},
      {"SUM(VALORTOTAL3)", " CODIGOEMPRESA = 1 AND SOCIEDADECONTAPARTICIPACAO = " + Nutil::ValorParaSQL(std::string("1")),
       "0.3"},
      {"INSCRICAOSCP", "INSCRICAOSCP = " + Nutil::ValorParaSQL(std::string("x'; DROP TABLE ESTAB; --")), "<nulo>"},
  };
  for (const auto& [coluna, condicao, esperado] : casos) {
    const TVariant v = TnDMSQLDataSet::PegarValorCampo("ESTAB", coluna, condicao);
    EXPECT_EQ(VarIsNull(v) ? "<nulo>" : VarToStr(v), esperado) << condicao;
  }
  for (const std::string ruim : {"1 = 1; DROP TABLE ESTAB", "1 = 1 -- x", "1 = 1 /* x */", "X = 'aberto"})
    EXPECT_THROW(TnDMSQLDataSet::PegarValorCampo("ESTAB", "INSCRICAOSCP", ruim), EEntradaInvalida) << ruim;
  EXPECT_THROW(TnDMSQLDataSet::PegarValorCampo("ESTAB; DROP", "X", ""), EEntradaInvalida);
  EXPECT_THROW(TnDMSQLDataSet::PegarValorCampo("ESTAB", "X'", ""), EEntradaInvalida);
  EXPECT_EQ(VarToInt(TnDMSQLDataSet::PegarValorCampo("ESTAB", "COUNT(*)", "")), 4);
}

// O cache reexecuta a consulta com os valores pedidos e nunca devolve linhas de outros valores:
// nem depois de um refresh feito por quem recebeu o dataset (o A170 aberto vazio e reaberto com
// os valores reais), nem depois de uma reexecução que falhou.
TEST_P(ServicosBanco, CacheNuncaDevolveLinhasDeOutrosValores) {
  const std::string sql = "SELECT CODIGOESTAB FROM ESTAB WHERE CODIGOEMPRESA = :E ORDER BY CODIGOESTAB";
  using V = std::vector<int64_t>;
  auto estabs = [](TDataSet* d) {
    V r;
    for (; !d->Eof(); d->Next()) r.push_back(d->FieldByName("CODIGOESTAB").AsInteger());
    return r;
  };
  for (bool cliente : {false, true}) {
    SCOPED_TRACE(cliente);
    EXPECT_EQ(estabs(SQLCache().ExecutarSQL(sql, {int64_t{1}}, cliente)), (V{1, 2, 3}));
    EXPECT_EQ(estabs(SQLCache().ExecutarSQL(sql, {int64_t{2}}, cliente)), V{1});
    TDataSet* c = SQLCache().ExecutarSQL(sql, {int64_t{2}}, cliente);  // mesmos valores: volta ao início
    EXPECT_EQ(dynamic_cast<TnClientDataSet*>(c) != nullptr, cliente);
    EXPECT_EQ(estabs(c), V{1});
  }
  TDataSet* vazio = SQLCache().ExecutarSQL(sql, {int64_t{-1}}, true);
  EXPECT_TRUE(estabs(vazio).empty());
  Nutildb::RefreshSQL(*vazio, {int64_t{1}});
  EXPECT_EQ(estabs(vazio), (V{1, 2, 3}));
  EXPECT_TRUE(estabs(SQLCache().ExecutarSQL(sql, {int64_t{-1}}, true)).empty());

  TDataSet* ds = SQLCache().ExecutarSQL(sql, {int64_t{2}}, true);
  EXPECT_ANY_THROW(Nutildb::RefreshSQL(*ds, {std::string("x"), int64_t{1}}));
  EXPECT_ANY_THROW(SQLCache().ExecutarSQL(sql, {std::string("x"), int64_t{1}}, true));
  EXPECT_EQ(estabs(SQLCache().ExecutarSQL(sql, {int64_t{2}}, true)), V{1});
  EXPECT_EQ(estabs(SQLCache().ExecutarSQL(sql, {int64_t{1}}, true)), (V{1, 2, 3}));
  for (int i = 0; i < 2; ++i) EXPECT_THROW(SQLCache().ExecutarSQL("SELECT X FROM NADA"), EBancoDados);  // sem entrada
}

PISCO_INSTANCIAR_BANCOS(ServicosBanco);

TEST(Host, EscopoPorThread) {
  EXPECT_THROW(THost::Atual(), EPisco);
  THost a(TDatabase::Conectar(":memory:", TModoAbertura::maCriar));
  THost b(TDatabase::Conectar(":memory:", TModoAbertura::maCriar));
  {
    THostScope sa(a);
    {
      THostScope sb(b);
      EXPECT_EQ(&THost::Atual(), &b);
      std::thread([] { EXPECT_EQ(THost::AtualOuNulo(), nullptr); }).join();
    }
    EXPECT_EQ(&THost::Atual(), &a);
  }
  EXPECT_EQ(THost::AtualOuNulo(), nullptr);
  EXPECT_THROW(THost(nullptr), EPisco);
}

// Que itens são aceitos as entradas guardadas do fuzzing conferem; aqui, a mensagem cita o
// item recusado inteiro. As formas aceitas são executadas em ServicosBanco e FiltrosNoBanco.
TEST(FilterInterval, RecusaQualquerOutraCoisaNomeandoOItem) {
  for (const std::string item : {"DROP TABLE X", "1 OR 1=1", "1-2-3", "1.5", "1'", "1234567890123456789", "8-5",
                                 "１" /* dígito de largura total */}) {
    const std::string m = MensagemDe<EEntradaInvalida>([&] { FilterInterval({"CODIGOESTAB"}, "1, " + item); });
    EXPECT_NE(m.find("\"" + item + "\" em"), std::string::npos) << m;
  }
  EXPECT_THROW(FilterInterval({"X; DROP"}, "1"), EEntradaInvalida);
  EXPECT_THROW(FilterInterval({}, "1"), EEntradaInvalida);
  EXPECT_THROW(FilterInterval({"X"}, "1", {tiExInclusao}, true, 7), EEntradaInvalida);
}
