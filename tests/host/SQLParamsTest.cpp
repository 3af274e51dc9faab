#include <gtest/gtest.h>

#include "base/Erros.h"
#include "host/SQLParams.h"

TEST(SQLParams, NomesDistintosNaOrdemDaPrimeiraOcorrencia) {
  struct Caso {
    std::string SQL;
    std::vector<std::string> Nomes;
    std::string SQLite, PG;
  };
  const Caso casos[] = {
      {"", {}, "", ""},
      {"SELECT 1", {}, "SELECT 1", "SELECT 1"},
      {"A = :X AND B = :y AND C = :x", {"X", "Y"}, "A = ?1 AND B = ?2 AND C = ?1", "A = $1 AND B = $2 AND C = $1"},
      {"WHERE N = ':NAO' AND M = :SIM", {"SIM"}, "WHERE N = ':NAO' AND M = ?1", "WHERE N = ':NAO' AND M = $1"},
      {"X = 'it''s :NAO' || :A", {"A"}, "X = 'it''s :NAO' || ?1", "X = 'it''s :NAO' || $1"},
      {"SELECT \":NAO\" FROM T WHERE A=:A", {"A"}, "SELECT \":NAO\" FROM T WHERE A=?1", "SELECT \":NAO\" FROM T WHERE A=$1"},
      {"A = :A -- :NAO\n AND B = :B", {"A", "B"}, "A = ?1 -- :NAO\n AND B = ?2", "A = $1 -- :NAO\n AND B = $2"},
      {"A = :A /* :NAO */ + :B", {"A", "B"}, "A = ?1 /* :NAO */ + ?2", "A = $1 /* :NAO */ + $2"},
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

TEST(SQLParams, QuantidadeErradaNomeiaEsperadoEInformado) {
  const std::string sql = "SELECT * FROM T WHERE A = :PCODIGOEMPRESA AND D BETWEEN :PINI AND :PFIM";
  const auto a = AnalisarParametros(sql);
  EXPECT_NO_THROW(ConferirQuantidadeParametros(a, 3, sql));
  for (size_t n : {size_t{0}, size_t{2}, size_t{4}}) {
    try {
      ConferirQuantidadeParametros(a, n, sql);
      ADD_FAILURE() << "deveria recusar " << n << " valores";
    } catch (const EBancoDados& e) {
      const std::string m = e.what();
      EXPECT_NE(m.find("espera 3 (:PCODIGOEMPRESA, :PINI, :PFIM)"), std::string::npos) << m;
      EXPECT_NE(m.find("informados " + std::to_string(n)), std::string::npos) << m;
      EXPECT_NE(m.find("SQL: SELECT * FROM T"), std::string::npos) << m;
    }
  }
}

TEST(SQLParams, CastNumericViraArredondamentoNoSQLite) {
  struct Caso {
    std::string Entrada, Saida;
  };
  const Caso casos[] = {
      {"SELECT CAST(SUM(V) AS NUMERIC(14,2)) T", "SELECT PISCO_NUMERIC(SUM(V) , 2) T"},
      {"cast( sum(a*b/100) as numeric(14, 2) )", "PISCO_NUMERIC( sum(a*b/100) , 2)"},
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
      // :CAST e :AS são parâmetros, não palavras do CAST (achado do fuzzing)
      {"SELECT :CAST(X AS NUMERIC(5))", "SELECT :CAST(X AS NUMERIC(5))"},
      {"CAST(A:AS NUMERIC(5))", "CAST(A:AS NUMERIC(5))"},
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
