#include <gtest/gtest.h>

#include "blocks/nArqRepositorioSPEDPisCofinsBlocoD_U.h"
#include "db/Schema.h"
#include "host/ClientDataSet.h"
#include "fixtures/Bancos.h"
#include "base/Erros.h"

// ------------------------------------------------------------------ montagem do esquema

TEST(Esquema, JuntarTabelasRecusaDefinicoesInconsistentes) {
  auto tab = [](std::string nome, std::vector<std::string> cols, std::vector<std::string> pk = {},
                std::vector<TIndiceSchema> ix = {}) {
    TTabelaSchema t;
    t.Nome = std::move(nome);
    for (auto& c : cols) t.Colunas.push_back({c, TTipoColuna::tcInteiro, 0, false});
    t.ChavePrimaria = std::move(pk);
    t.Indices = std::move(ix);
    return t;
  };
  struct TCaso {
    const char* Nome;
    std::vector<std::vector<TTabelaSchema>> Listas;
    const char* Mensagem;  // vazio = aceita
  };
  const std::vector<TCaso> casos = {
      {"distintas", {{tab("A", {"X"})}, {tab("B", {"X"})}}, ""},
      {"tabela repetida entre listas", {{tab("A", {"X"})}, {tab("a", {"Y"})}}, "tabela duplicada: a"},
      {"tabela repetida na mesma lista", {{tab("A", {"X"}), tab("A", {"X"})}}, "tabela duplicada: A"},
      {"coluna repetida", {{tab("A", {"X", "x"})}}, "coluna duplicada em A: x"},
      {"chave sem coluna", {{tab("A", {"X"}, {"Y"})}}, "chave Y não é coluna de A"},
      {"índice sem coluna", {{tab("A", {"X"}, {}, {{"IXA", {"Z"}, false}})}}, "índice IXA usa coluna inexistente Z"},
      {"índice repetido", {{tab("A", {"X"}, {}, {{"IX1", {"X"}, false}}), tab("B", {"X"}, {}, {{"IX1", {"X"}, false}})}},
       "índice duplicado: IX1"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Nome);
    if (std::string(c.Mensagem).empty()) {
      EXPECT_EQ(JuntarTabelas(c.Listas).size(), 2u);
    } else {
      try {
        JuntarTabelas(c.Listas);
        ADD_FAILURE() << "esperava erro: " << c.Mensagem;
      } catch (const EPisco& e) {
        EXPECT_NE(std::string(e.what()).find(c.Mensagem), std::string::npos) << e.what();
      }
    }
  }
}

// Toda tabela com empresa e data de movimento é lida por (empresa[, estabelecimento], data)
// através de um índice ou do começo da chave primária.
TEST(Esquema, TabelasDeMovimentoTemIndiceEmpresaEstabData) {
  // pagamentos são lidos pela data do pagamento, não pela do lançamento
  const char* datas[] = {"DATAPGTO", "DATAPAGAMENTO", "DATALCTOFIS", "DATATOTAL", "PERIODO", "COMPRECEB", "DATALCTOCTR"};
  int conferidas = 0;
  for (const auto& t : TabelasSchema()) {
    auto tem = [&](const std::string& n) {
      for (const auto& c : t.Colunas)
        if (c.Nome == n) return true;
      return false;
    };
    if (!tem("CODIGOEMPRESA") || t.Nome == "LCTOFISTMP") continue;
    std::string data;
    for (const char* d : datas)
      if (tem(d)) {
        data = d;
        break;
      }
    if (data.empty()) continue;
    std::vector<std::string> esperado = {"CODIGOEMPRESA"};
    if (tem("CODIGOESTAB")) esperado.push_back("CODIGOESTAB");
    esperado.push_back(data);
    auto comeca = [&](const std::vector<std::string>& cols) {
      return cols.size() >= esperado.size() && std::equal(esperado.begin(), esperado.end(), cols.begin());
    };
    bool ok = comeca(t.ChavePrimaria);
    for (const auto& ix : t.Indices) ok = ok || comeca(ix.Colunas);
    EXPECT_TRUE(ok) << t.Nome << " sem índice por empresa, estabelecimento e " << data;
    ++conferidas;
  }
  EXPECT_GT(conferidas, 80);
}

// ------------------------------------------------------------------ nos dois bancos

class EsquemaBanco : public TBancoTeste {
 protected:
  // numa transação: no SQLite, sem ela cada CREATE esperaria o disco
  void CriarEsquema() {
    Banco().IniciarTransacao();
    Banco().ExecutarScript(GerarDDL(Dialeto()));
    Banco().Confirmar();
  }
};

TEST_P(EsquemaBanco, CarregaTodasAsTabelasEColunas) {
  const auto esquema = TabelasSchema();
  CriarEsquema();
  const char* contar = EhPostgreSQL()
                           ? "SELECT count(*) FROM information_schema.tables WHERE table_schema = current_schema()"
                           : "SELECT count(*) FROM sqlite_master WHERE type = 'table'";
  EXPECT_EQ(Banco().Abrir(contar)->Fields(0).AsInteger(), static_cast<int64_t>(esquema.size()));
  for (const auto& t : esquema) {
    std::string cols;
    for (const auto& c : t.Colunas) cols += (cols.empty() ? "" : ", ") + c.Nome;
    // coluna que o DDL não criou faz o SELECT falhar
    EXPECT_NO_THROW(Banco().Abrir("SELECT " + cols + " FROM " + t.Nome + " WHERE 1 = 0")) << t.Nome;
  }
  // a chave primária recusa a segunda linha igual
  Banco().Executar("INSERT INTO ESTAB (CODIGOEMPRESA, CODIGOESTAB, SOCIEDADECONTAPARTICIPACAO) VALUES (1, 1, '0')");
  EXPECT_THROW(
      Banco().Executar("INSERT INTO ESTAB (CODIGOEMPRESA, CODIGOESTAB, SOCIEDADECONTAPARTICIPACAO) VALUES (1, 1, '1')"),
      EBancoDados);
}

TEST_P(EsquemaBanco, ValoresGuardamCentavosEDatasISO) {
  CriarEsquema();
  Banco().Executar(
      "INSERT INTO LCTOFISSAIPISCOFINS (CODIGOEMPRESA, CODIGOESTAB, CHAVELCTOFISSAI, CODIGOPRODUTO, SEQ, DATALCTOFIS, "
      "BASECALCULOPISCOFINS, ALIQPIS, QUANTIDADE) VALUES (:E, :S, :C, :P, :Q, :D, :B, :A, :QT)",
      {int64_t{1}, int64_t{1}, int64_t{7}, int64_t{3}, int64_t{1}, VarDate(EncodeDate(2024, 1, 31)), 100.0, 1.65, 2.5});
  auto ds = Banco().Abrir(
      "SELECT BASECALCULOPISCOFINS / 100 AS R, BASECALCULOPISCOFINS * ALIQPIS / 100 AS V, DATALCTOFIS FROM "
      "LCTOFISSAIPISCOFINS WHERE CODIGOEMPRESA = :E AND DATALCTOFIS BETWEEN :I AND :F",
      {int64_t{1}, VarDate(EncodeDate(2024, 1, 1)), VarDate(EncodeDate(2024, 1, 31))});
  ASSERT_FALSE(ds->Eof());
  EXPECT_DOUBLE_EQ(ds->FieldByName("R").AsFloat(), 1.0);  // REAL no SQLite: 100 / 100 não vira divisão inteira
  EXPECT_NEAR(ds->FieldByName("V").AsFloat(), 1.65, 1e-9);
  EXPECT_EQ(DataISO(ds->FieldByName("DATALCTOFIS").AsDateTime()), "2024-01-31");
}

// O texto do CREATE INDEX é o mesmo nos dois dialetos; o plano só o SQLite mostra fora de cursor.
TEST_P(EsquemaBanco, LeituraDeUmaEmpresaPeriodoUsaOIndice) {
  if (EhPostgreSQL()) GTEST_SKIP() << "EXPLAIN não cabe no cursor do PostgreSQL";
  CriarEsquema();
  std::string plano;
  for (auto ds = Banco().Abrir("EXPLAIN QUERY PLAN SELECT SUM(VALORPIS) FROM LCTOFISSAIPISCOFINS WHERE CODIGOEMPRESA = 1 "
                               "AND CODIGOESTAB = 2 AND DATALCTOFIS BETWEEN '2024-01-01' AND '2024-01-31'");
       !ds->Eof(); ds->Next())
    plano += ds->FieldByName("detail").AsString() + "\n";
  EXPECT_NE(plano.find("USING INDEX IXLCTOFISSAIPISCOFINSPER"), std::string::npos) << plano;
}

// Consulta de biblioteca que nenhum relatório da suíte chama: ao menos prepara e roda nos dois
// bancos, para uma coluna com nome errado não passar despercebida.
TEST_P(EsquemaBanco, PessoasD600SemMunicipioRoda) {
  CriarEsquema();
  const TnParansBlocoD p{1, "", EncodeDate(2024, 1, 1), EncodeDate(2024, 1, 31), false, false};
  EXPECT_EQ(TnArqRepositorioSPEDPisCofinsBlocoD::GetCdsPessoasD600SemMunic(p)->RecordCount(), 0);
}

PISCO_INSTANCIAR_BANCOS(EsquemaBanco);
