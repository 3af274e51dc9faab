#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <sys/wait.h>
#include <unistd.h>

#include "db/Demo.h"
#include "db/Schema.h"
#include "fixtures/Bancos.h"
#include "base/Erros.h"

namespace {

// Conteúdo de todas as tabelas, em ordem de chave primária (ou de todas as colunas).
std::string Despejo(TDatabase& banco) {
  std::string r;
  for (const auto& t : TabelasSchema()) {
    std::string cols, ordem;
    for (const auto& c : t.Colunas) cols += (cols.empty() ? "" : ", ") + c.Nome;
    for (const auto& k : t.ChavePrimaria) ordem += (ordem.empty() ? "" : ", ") + k;
    auto ds = banco.Abrir("SELECT " + cols + " FROM " + t.Nome + " ORDER BY " + (ordem.empty() ? cols : ordem));
    r += "#" + t.Nome + "\n";
    for (; !ds->Eof(); ds->Next()) {
      for (int i = 0; i < ds->FieldCount(); ++i) r += ds->Fields(i).AsString() + "|";
      r += "\n";
    }
  }
  return r;
}

void ApagarTabelas(TDatabase& banco) {
  const auto tabelas = TabelasSchema();
  for (auto it = tabelas.rbegin(); it != tabelas.rend(); ++it) banco.Executar("DROP TABLE " + it->Nome);
}

double Soma(TDatabase& banco, const std::string& sql) {
  auto ds = banco.Abrir(sql);
  return ds->Eof() || ds->Fields(0).IsNull() ? 0.0 : ds->Fields(0).AsFloat();
}

TConfigDemo Pequena(uint64_t semente) {
  TConfigDemo cfg;
  cfg.Empresas = 5;
  cfg.Linhas = 150;
  cfg.Semente = semente;
  cfg.InicioCompetencia = EncodeDate(2024, 1, 1);
  return cfg;
}

}  // namespace

class DemoBanco : public TBancoTeste {};

// Mesma semente, mesmo banco; outra semente, outro. Banco com tabelas é recusado sem nada gravar.
TEST_P(DemoBanco, DeterministicaERecusaBancoNaoVazio) {
  const auto r1 = GerarBancoDemo(Banco(), Pequena(7));
  const std::string d1 = Despejo(Banco());
  ApagarTabelas(Banco());
  const auto r2 = GerarBancoDemo(Banco(), Pequena(7));
  EXPECT_EQ(r1.LinhasGravadas, r2.LinhasGravadas);
  EXPECT_EQ(r1.LinhasLancamento, 5 * 150);
  ASSERT_TRUE(Despejo(Banco()) == d1) << "a mesma semente gerou outro conteúdo";
  ApagarTabelas(Banco());
  GerarBancoDemo(Banco(), Pequena(8));
  EXPECT_NE(Despejo(Banco()), d1);

  ApagarTabelas(Banco());
  Banco().Executar("CREATE TABLE QUALQUER (A INTEGER)");
  try {
    GerarBancoDemo(Banco(), Pequena(1));
    ADD_FAILURE() << "esperava recusa";
  } catch (const EEntradaInvalida& e) {
    EXPECT_NE(std::string(e.what()).find("não está vazio"), std::string::npos) << e.what();
  }
  EXPECT_THROW(Banco().Abrir("SELECT count(*) FROM ESTAB"), EBancoDados);
}

// Os totais apurados do mês batem com os lançamentos de onde vieram.
TEST_P(DemoBanco, TotaisApuradosBatemComOsLancamentos) {
  GerarBancoDemo(Banco(), Pequena(11));
  for (int empresa : {1, 3, 5}) {
    SCOPED_TRACE("empresa " + std::to_string(empresa));
    const std::string e = std::to_string(empresa);
    // receita isenta: saídas com CST 04 a 09 mais os demais documentos de receita isenta
    const double isentasLcto = Soma(
        Banco(), "SELECT SUM(RECEITAPISCOFINS) FROM LCTOFISSAIPISCOFINS WHERE CODIGOEMPRESA = " + e +
                     " AND CDSITUATRIBUTPIS IN (4, 6, 7, 8, 9) AND DATALCTOFIS >= '2024-01-01'");
    const double isentasF100 = Soma(Banco(), "SELECT SUM(VALOROPER) FROM EFDF100DEMAISDOC WHERE CODIGOEMPRESA = " + e +
                                                 " AND INDOPER = 2");
    const double isentasTotal = Soma(Banco(), "SELECT SUM(VLREC) FROM TOTALEFDISENTAS WHERE CODIGOEMPRESA = " + e +
                                                  " AND TIPOIMPOSTO = 15");
    EXPECT_GT(isentasTotal, 0);
    EXPECT_NEAR(isentasTotal, isentasLcto + isentasF100, 0.005);
    // a soma por estabelecimento é a da empresa
    EXPECT_NEAR(Soma(Banco(), "SELECT SUM(VLREC) FROM TOTALEFDISENTASESTAB WHERE CODIGOEMPRESA = " + e +
                                  " AND TIPOIMPOSTO = 16"),
                isentasTotal, 0.005);
    // receita tributada: saídas do mês com código de contribuição (sem 4.3.05.00) + F100 + imobiliária
    const double tribLcto = Soma(Banco(),
                                 "SELECT SUM(LPC.RECEITAPISCOFINS) FROM LCTOFISSAIPISCOFINS LPC WHERE LPC.CODIGOEMPRESA = " +
                                     e + " AND LPC.TIPODEBITO LIKE '4.3.05.%' AND LPC.TIPODEBITO <> '4.3.05.00'"
                                         " AND LPC.DATALCTOFIS >= '2024-01-01'");
    const double tribOutros =
        Soma(Banco(), "SELECT SUM(VALOROPER) FROM EFDF100DEMAISDOC WHERE CODIGOEMPRESA = " + e + " AND INDOPER = 1") +
        Soma(Banco(), "SELECT SUM(VLTOTREC) FROM EFDUNIDIMOBVENDIDA WHERE CODIGOEMPRESA = " + e);
    EXPECT_NEAR(Soma(Banco(), "SELECT SUM(VLRRECBRT) FROM TOTALEFDDEBITO WHERE CODIGOEMPRESA = " + e +
                                  " AND TIPOIMPOSTO = 15"),
                tribLcto + tribOutros, 0.005);
    // o valor a recolher é o apurado menos os descontos
    auto ds = Banco().Abrir(
        "SELECT VLTOTCONTNCPER, VLTOTCREDDESC, VLRETNC, VLOUTDEDNC, VLCONTNCREC FROM TOTALEFD WHERE CODIGOEMPRESA = " + e +
        " AND TIPOIMPOSTO = 16");
    ASSERT_FALSE(ds->Eof());
    EXPECT_NEAR(ds->Fields(0).AsFloat() - ds->Fields(1).AsFloat() - ds->Fields(2).AsFloat() - ds->Fields(3).AsFloat(),
                ds->Fields(4).AsFloat(), 0.005);
    EXPECT_NEAR(Soma(Banco(), "SELECT SUM(VLCREDDESC) FROM TOTALEFDCRED WHERE CODIGOEMPRESA = " + e +
                                  " AND TIPOIMPOSTO = 16"),
                ds->Fields(1).AsFloat(), 0.005);
  }
  // o banco apura a COFINS cumulativa a 4% sobre toda a receita tributada
  EXPECT_GT(Soma(Banco(), "SELECT count(*) FROM TOTALEFDDEBITO WHERE CODIGOEMPRESA = 5 AND TIPOIMPOSTO = 16"), 0);
  EXPECT_EQ(Soma(Banco(), "SELECT count(*) FROM TOTALEFDDEBITO WHERE CODIGOEMPRESA = 5 AND TIPOIMPOSTO = 16 AND "
                          "VLBCCONT > 0 AND ALIQ <> 4"),
            0);
  // a demonstração alimenta toda fonte dos totais por CST e dos regimes
  for (const char* fonte :
       {"EFDCREDPRESESTOQABERT", "LUCROREALCREDPRESESTOQABERT", "EFDF100DEMAISDOC WHERE INDOPER = 0",
        "EFDF100DEMAISDOC WHERE INDOPER = 1", "EFDF100DEMAISDOC WHERE INDOPER = 2", "EFDUNIDIMOBVENDIDA",
        "EFDUNIDIMOBCUSTOINC", "EFDUNIDIMOBCUSTOORC", "PATCREDITODACON", "EFDDEDUCAOEXCLUSAO", "LUCROREALDEDUCAOEXCLUSAO",
        "LUCROPRESDEDUCAOEXCLUSAO", "DUPLICATASAIPGTO", "LCTOFISSAI WHERE CODIGOESTABSCP IS NOT NULL"})
    EXPECT_GT(Soma(Banco(), std::string("SELECT count(*) FROM ") + fonte), 0) << fonte;
  // e o crédito dos lançamentos a todo CST comum e ao crédito por unidade
  EXPECT_EQ(Soma(Banco(), "SELECT count(DISTINCT CDSITUATRIBUTPIS) FROM LCTOFISENTPISCOFINS WHERE ALIQPIS > 0 AND"
                          " CDSITUATRIBUTPIS IN (53, 54, 55, 56, 63, 64, 65, 66)"),
            8);
  EXPECT_GT(Soma(Banco(), "SELECT count(*) FROM LCTOFISENTPISCOFINS WHERE QUANTIDADE > 0 AND ALIQPIS > 0"), 0);
  // devoluções referenciam entradas existentes
  EXPECT_GT(Soma(Banco(), "SELECT count(*) FROM LCTOFISSAISPEDC113"), 0);
  EXPECT_EQ(Soma(Banco(), "SELECT count(*) FROM LCTOFISSAISPEDC113 R WHERE NOT EXISTS (SELECT 1 FROM LCTOFISENT E "
                          "WHERE E.CODIGOEMPRESA = R.CODIGOEMPRESA AND E.CHAVELCTOFISENT = R.CHAVELCTOFISENTREF)"),
            0);
}

PISCO_INSTANCIAR_BANCOS(DemoBanco);

// ------------------------------------------------------------------ linha de comando

namespace {
int Rodar(const std::string& args) {
  const std::string cmd = std::string(PISCO_BINARY_DIR) + "/pisco " + args + " >/dev/null 2>&1";
  const int r = std::system(cmd.c_str());
  return WIFEXITED(r) ? WEXITSTATUS(r) : -1;
}
}  // namespace

TEST(DemoCLI, CodigosDeSaida) {
  const auto dir = std::filesystem::temp_directory_path() / ("pisco-demo-cli-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string arq = (dir / "demo.db").string();
  EXPECT_EQ(Rodar("demo-db " + arq + " --competencia 2024-13"), 2);
  EXPECT_FALSE(std::filesystem::exists(arq));
  EXPECT_EQ(Rodar("demo-db " + arq + " --empresas 0"), 2);
  EXPECT_EQ(Rodar("demo-db " + arq + " --empresas 1 --linhas 50 --competencia 2023-02"), 0);
  EXPECT_TRUE(std::filesystem::exists(arq));
  EXPECT_EQ(Rodar("demo-db " + arq), 1);  // já tem tabelas
  EXPECT_TRUE(std::filesystem::exists(arq));  // e continua lá
  EXPECT_EQ(Rodar("schema --dialeto oracle"), 2);
  EXPECT_EQ(Rodar("schema --dialeto postgresql"), 0);
  std::filesystem::remove_all(dir);
}
