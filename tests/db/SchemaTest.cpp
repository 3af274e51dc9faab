#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "db/Schema.h"
#include "db/VarreduraSQL.h"
#include "fixtures/Bancos.h"
#include "base/Erros.h"

namespace {

std::string LerArquivo(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

}  // namespace

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

// ------------------------------------------------------------------ varredura do SQL do código

TEST(VarreduraSQL, LiteraisDoFonteCpp) {
  const std::string fonte =
      "// \"FROM COMENTARIO\"\n"
      "const char* a = \" SELECT L.X \" \"FROM T L\";  /* \"nao\" */\n"
      "char c = '\"'; auto r = R\"(FROM\n RAW R)\";\n"
      "auto e = \"com \\\"aspas\\\"\";\n"
      "  #include \"host/NaoEhSQL.h\"\n";
  const auto lits = LiteraisCpp(fonte);
  ASSERT_EQ(lits.size(), 4u);
  EXPECT_EQ(lits[0].Texto, " SELECT L.X ");
  EXPECT_EQ(lits[0].Linha, 2);
  EXPECT_EQ(lits[1].Texto, "FROM T L");
  EXPECT_EQ(lits[2].Texto, "FROM\n RAW R");
  EXPECT_EQ(lits[2].Linha, 3);
  EXPECT_EQ(lits[3].Texto, "com \"aspas\"");
  EXPECT_EQ(lits[3].Linha, 5);
}

TEST(VarreduraSQL, ConfereTabelasEColunasContraOEsquema) {
  const auto esquema = TabelasSchema();
  struct TCaso {
    const char* Nome;
    std::vector<std::string> Literais;
    std::vector<std::string> Problemas;  // trechos esperados, em ordem
  };
  const std::vector<TCaso> casos = {
      {"alias e coluna corretos", {" SELECT LPC.VALORPIS, LPC.CDSITUATRIBUTCOFINS ", " FROM LCTOFISSAIPISCOFINS LPC "}, {}},
      {"coluna com erro de grafia", {" SELECT LPC.VALORPISS FROM LCTOFISSAIPISCOFINS LPC "},
       {"coluna inexistente: LPC.VALORPISS"}},
      {"tabela inexistente", {" SELECT 1 FROM LCTOFISSAIPISCOFIN X WHERE X.QUALQUER = 1"},
       {"tabela inexistente: LCTOFISSAIPISCOFIN"}},
      {"família formatada pelo sufixo", {" FROM LCTOFIS%0:sPISCOFINS LPC WHERE LPC.CHAVELCTOFIS%0:S = 1 AND LPC.ALIQ%1:s > 0"}, {}},
      {"sufixo sem tabela possível", {" FROM LCTOFIS%0:sPISCOFINSX LPC"}, {"tabela inexistente: LCTOFIS%0:sPISCOFINSX"}},
      {"tabela só formatada não é conferida", {" FROM %0:s T WHERE T.QUALQUER = 1"}, {}},
      {"coluna só formatada não é conferida", {" SELECT LPC.%1:s FROM LCTOFISSAIPISCOFINS LPC WHERE LPC.VALORPISX = 0"},
       {"coluna inexistente: LPC.VALORPISX"}},
      {"subconsulta derivada", {" FROM ESTAB E JOIN (SELECT 1 X) C ON C.NADA = E.CODIGOESTAB"}, {}},
      {"EXTRACT não é tabela", {" SELECT EXTRACT(YEAR FROM DATALCTOFIS) FROM LCTOFISENT"}, {}},
      {"prefixo com o nome da tabela", {" FROM LCTOFISENTCOMPL WHERE LCTOFISENTCOMPL.CODOBS0451 IS NULL"},
       {"coluna inexistente: LCTOFISENTCOMPL.CODOBS0451"}},
      {"insert confere as colunas", {"INSERT INTO ESTAB (CODIGOEMPRESA, CODIGOESTABX) VALUES (:A, :B)"},
       {"coluna inexistente: ESTAB.CODIGOESTABX"}},
      {"tabela temporária criada no arquivo", {"CREATE TEMP TABLE TMPQUALQUER (A INTEGER)", "SELECT T.A FROM TMPQUALQUER T"}, {}},
      {"tabela num literal à parte", {" SELECT SEQ FROM ", "TOTALEFDCRED", " WHERE CODIGOEMPRESA = :CODIGOEMPRESA "}, {}},
      {"tabela vinda de expressão", {" SELECT T.QUALQUER FROM ", " T WHERE T.OUTRA = 1", " FROM ESTAB E WHERE E.NAOEXISTE = 1"},
       {"coluna inexistente: E.NAOEXISTE"}},
      {"nome com sufixo fora do literal", {" JOIN TOTALEFDAJUSTE", "ESTAB", " A ON A.SEQ = T.SEQ"}, {}},
      {"minúsculas e literais SQL", {"select e.inscricaoscp from estab e where e.sociedadecontaparticipacao = 'x.y'"}, {}},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Nome);
    std::vector<TLiteralCpp> lits;
    for (const auto& l : c.Literais) lits.push_back({1, l});
    const auto r = ConferirSQL(lits, esquema);
    ASSERT_EQ(r.Problemas.size(), c.Problemas.size());
    for (size_t i = 0; i < c.Problemas.size(); ++i)
      EXPECT_NE(r.Problemas[i].Descricao.find(c.Problemas[i]), std::string::npos) << r.Problemas[i].Descricao;
  }
}

// Todo texto SQL do código-fonte referencia só tabelas e colunas que o esquema tem. Cresce
// sozinho com o módulo: cada unidade nova de src/ entra na varredura.
TEST(VarreduraSQL, CodigoFonteUsaSoOQueOEsquemaTem) {
  const auto esquema = TabelasSchema();
  int arquivos = 0, tabelas = 0, colunas = 0;
  std::string falhas;
  for (const auto& e : std::filesystem::recursive_directory_iterator(std::filesystem::path(PISCO_SOURCE_DIR) / "src")) {
    const auto ext = e.path().extension();
    if (!e.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
    ++arquivos;
    const auto r = ConferirSQL(LiteraisCpp(LerArquivo(e.path())), esquema);
    tabelas += r.TabelasConferidas;
    colunas += r.ColunasConferidas;
    for (const auto& p : r.Problemas)
      falhas += e.path().lexically_relative(PISCO_SOURCE_DIR).string() + ":" + std::to_string(p.Linha) + ": " +
                p.Descricao + "\n";
  }
  EXPECT_GT(arquivos, 0);
  EXPECT_TRUE(falhas.empty()) << falhas;
  RecordProperty("tabelas_conferidas", tabelas);
  RecordProperty("colunas_conferidas", colunas);
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
    auto ds = Banco().Abrir("SELECT " + cols + " FROM " + t.Nome + " WHERE 1 = 0");
    EXPECT_EQ(ds->FieldCount(), static_cast<int>(t.Colunas.size())) << t.Nome;
    EXPECT_TRUE(ds->Eof()) << t.Nome;
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

PISCO_INSTANCIAR_BANCOS(EsquemaBanco);
