#include <gtest/gtest.h>

#include "base/Erros.h"
#include "host/SQLParams.h"

// Literais, comentários e nomes repetidos vão aos dois bancos em BancoCruzado; aqui, as bordas.
TEST(SQLParams, NomesDistintosNaOrdemDaPrimeiraOcorrencia) {
  struct Caso {
    std::string SQL;
    std::vector<std::string> Nomes;
    std::string SQLite, PG;
  };
  const Caso casos[] = {
      {"SELECT \":NAO\" FROM T WHERE A=:A", {"A"}, "SELECT \":NAO\" FROM T WHERE A=?1", "SELECT \":NAO\" FROM T WHERE A=$1"},
      {"SELECT X::numeric, :P::int", {"P"}, "SELECT X::numeric, ?1::int", "SELECT X::numeric, $1::int"},
      {"A = :_P1 AND B = :p_2x", {"_P1", "P_2X"}, "A = ?1 AND B = ?2", "A = $1 AND B = $2"},
      {"TIME '10:30' AND :1 AND : A", {}, "TIME '10:30' AND :1 AND : A", "TIME '10:30' AND :1 AND : A"},
      {"X = 'sem fim :NAO", {}, "X = 'sem fim :NAO", "X = 'sem fim :NAO"},
      {"/* sem fim :NAO", {}, "/* sem fim :NAO", "/* sem fim :NAO"},
      {":A:B", {"A", "B"}, "?1?2", "$1$2"},
  };
  for (const auto& c : casos) {
    const auto a = AnalisarParametros(c.SQL);
    EXPECT_EQ(a.Nomes, c.Nomes) << c.SQL;
    EXPECT_EQ(TrocarParametros(c.SQL, a, TDialeto::dSQLite), c.SQLite) << c.SQL;
    EXPECT_EQ(TrocarParametros(c.SQL, a, TDialeto::dPostgreSQL), c.PG) << c.SQL;
  }
}

TEST(SQLParams, CastNumericViraArredondamentoNoSQLite) {
  struct Caso {
    std::string Entrada, Saida;
  };
  const Caso casos[] = {
      {"CAST(X AS DECIMAL(18,7))", "PISCO_NUMERIC(X , 7)"},
      {"CAST(X AS NUMERIC(10))", "PISCO_NUMERIC(X , 0)"},
      {"CAST(CAST(A AS NUMERIC(18,4)) * 2 AS NUMERIC(14,2))", "PISCO_NUMERIC(PISCO_NUMERIC(A , 4) * 2 , 2)"},
      {"CAST(X AS INTEGER)", "CAST(X AS INTEGER)"},
      {"CAST(X AS NUMERIC)", "CAST(X AS NUMERIC)"},
      {"CAST(CAST(A AS NUMERIC(5,1)) AS TEXT)", "CAST(PISCO_NUMERIC(A , 1) AS TEXT)"},
      {"SELECT 'CAST(X AS NUMERIC(14,2))' FROM T", "SELECT 'CAST(X AS NUMERIC(14,2))' FROM T"},
      {"BROADCAST(X AS NUMERIC(14,2))", "BROADCAST(X AS NUMERIC(14,2))"},
      {"CAST(F(X, ')') AS NUMERIC(14,2))", "PISCO_NUMERIC(F(X, ')') , 2)"},
      {"CAST(X AS NUMERIC(14,2)", "CAST(X AS NUMERIC(14,2)"},
      {"CAST(A:AS NUMERIC(5))", "CAST(A:AS NUMERIC(5))"},  // :AS é parâmetro, não palavra do CAST
      {"CAST(A::TEXT AS NUMERIC(5))", "PISCO_NUMERIC(A::TEXT , 0)"},
  };
  for (const auto& c : casos) EXPECT_EQ(AdaptarCastNumeric(c.Entrada), c.Saida) << c.Entrada;
}

TEST(SQLParams, SeparadoresEComentariosForaDeLiterais) {
  struct Caso {
    std::string Texto;
    bool Tem;
  };
  const Caso casos[] = {{"A = 1 AND B = 'x'", false}, {"A = 'a;b' AND C = '--'", false}, {"A = 1; DROP TABLE X", true},
                        {"A = 1 -- resto", true},      {"A = 1 /* x */", true},             {"A = 'sem fim", true},
                        {"A = 'it''s'", false},        {"", false}};
  for (const auto& c : casos) EXPECT_EQ(TemSeparadorOuComentario(c.Texto), c.Tem) << c.Texto;
  EXPECT_EQ(InicioSQL("SELECT\n   A,\n\tB   FROM T"), "SELECT A, B FROM T");
  EXPECT_EQ(InicioSQL(std::string(200, 'x'), 10), "xxxxxxxxxx...");
}
