// Textos dos blocos C (com a gêmea em memória) e D: fragmentos literais por registro, ramos
// (lado, IndApuracao, IPI, dicas de índice), ordem dos parâmetros e cada diferença da gêmea.
#include <gtest/gtest.h>

#include <string>

#include "blocks/BlocosTeste.h"
#include "blocks/CatalogoBlocos.h"
#include "host/ControlesFiscais.h"
#include "host/SQLParams.h"

namespace {

using RC = TnArqRepositorioSPEDPisCofinsBlocoC;
using RM = TnArqRepositorioSPEDPisCofinsBlocoCMemoria;
using RD = TnArqRepositorioSPEDPisCofinsBlocoD;
using TMem = nArqRepositorioSPEDPisCofinsBlocoCMemoria_U::TnParansBlocoC;

const TDateTime kIni = EncodeDate(2024, 1, 1), kFim = EncodeDate(2024, 1, 31);

TnParansBlocoC C(int mov, int16_t ind = 0, std::string estab = "1", bool scp = false) {
  return TnParansBlocoC{1, std::move(estab), kIni, kFim, false, mov, ind, scp};
}
TMem M(int mov, int16_t ind = 0, std::string estab = "1") { return TMem{1, std::move(estab), kIni, kFim, false, mov, ind}; }
TnParansBlocoD D(std::string estab = "1", bool scp = false) {
  return TnParansBlocoD{1, std::move(estab), kIni, kFim, false, scp};
}

bool Tem(const std::string& s, const std::string& t) { return s.find(t) != std::string::npos; }

std::string SemBrancosRepetidos(const std::string& s) {
  std::string r;
  for (char c : s)
    if (!(c == ' ' && !r.empty() && r.back() == ' ')) r += c;
  return r;
}

class BlocoCDTextos : public ::testing::Test {
 protected:
  void SetUp() override { FHost.CriarEsquema(); }
  THostTexto FHost;
};

// Fragmentos citados aparecem byte a byte, nos ramos em que valem.
TEST_F(BlocoCDTextos, FragmentosDoBlocoC) {
  struct TCaso {
    std::string Texto, Trecho;
    bool Presente;
  };
  const std::string e0 = RC::GetSqlC100(C(0)), e2 = RC::GetSqlC100(C(0, 2)), s2 = RC::GetSqlC100(C(1, 2));
  const std::vector<TCaso> casos = {
      {e0, "cast(sum(CASE WHEN LPC.CDSITUATRIBUTPIS <> 05 THEN LPC.VALORPIS END) as numeric(14,2)) VALORPIS", true},
      {e0, "cast(sum(CASE LPC.CDSITUATRIBUTPIS WHEN 05 THEN LPC.VALORCOFINS END) as numeric(14,2)) VALORCOFINSST", true},
      {e0, "and LE.CDMODELO in ('1', '1B', '4'  ) ", true},
      {e2, "and LE.CDMODELO in ('1', '1B', '4' ,'55' ) ", true},
      {s2, "and LS.CDMODELO in ('1', '1B', '4' , '55', '65' ) ", true},
      {e0, "and LEC.TIPOIMPOSTO in (1, 3) ", true},
      {e0, " or (LEC.CODIGOCFOP = 1933999) )) ) ", true},
      {s2, "1933999", false},
      {e0, " HAVING ( (cast(SUM(LPC.VALORPIS) as numeric(14,2)) + cast(SUM(LPC.VALORCOFINS) as numeric(14,2)))  > 0) "
           " or (LE.CANCELADA = '1') ", true},
      {e0, "LE.VALORFUNRURAL", true},
      {s2, "cast(0 as NUMERIC(14,2)) VALORFUNRURAL", true},
      {s2, "LS.DATAPRESTACAOSERVICO DATAEMISSAO", true},
      {s2, "HAVING", false},
      {RC::GetSqlC170(C(0)), "       and LCO.TIPOIMPOSTO in (1, 3) ", true},
      {RC::GetSqlC170(C(0)), " order by LP.DATALCTOFIS, L.CODIGOPESSOA, L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF, LP.SEQ", true},
      {RC::GetSqlC170(C(0)), " 0 INDOPER", true},
      {RC::GetSqlC170(C(1)), " 1 INDOPER", true},
      {RC::GetSqlC170(C(1)), " order by LP.DATALCTOFIS, L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF", true},
      {RC::GetSqlC170(C(1, 2)), "and L.CDMODELO in ('1', '1B', '4' ,'55' ) ", true},
      {RC::GetSqlC170(C(0)), "and L.CDSITUACAO in (0, 1, 6, 7, 8, 99) ", true},
      {RC::GetSqlC175(C(1)), "CASE WHEN LPC.QUANTIDADE > 0 THEN LPC.ALIQPIS ELSE 0 END ALIQPISQUANT", true},
      {RC::GetSqlC175(C(1)), " AND L.CDMODELO = '65' ", true},
      {RC::GetSqlC180(C(1)), "and LPC.TIPODEBITOPIS <> '4.3.05.00' ", true},
      {RC::GetSqlC180(C(1)), "and LS.CDMODELO IN ('55', '65') ", true},
      {RC::GetSqlC181_185(C(1)), "order by LPC.CODIGOPRODUTO, LS.CDMODELO", true},
      {RC::GetSqlC188(C(1)), "and LS.DATALCTOFIS between PR.DATAINICIAL and PR.DATAFINAL ", true},
      {RC::GetSqlC190(C(1)), " order by 1", true},
      {RC::GetSqlC191_195(C(1)), "CASE WHEN PE.TIPOINSCR = 4 THEN '' ELSE PE.INSCRFEDERAL END INSCRFEDERAL", true},
      {RC::GetSqlC191_195(C(1)), "CASE WHEN LPC.QUANTIDADE > 0 THEN 1 ELSE 0 END", true},
      {RC::GetSqlC198(C(1)), "AND LPC.DATALCTOFIS BETWEEN PR.DATAINICIAL AND PR.DATAFINAL ", true},
      {RC::GetSqlC199(C(0)), "AND L.CDMODELO IN ('55') ", true},
      {RC::GetSqlC120(C(0)), "cast(substr(LS.NUMDOCIMP, 1, 10) as varchar(10)) NUMDOCIMP", true},
      {RC::GetSqlC110(C(0)), "and LC.CODOBS0450 is not null ", true},
      {RC::GetSqlC380(C(1)), "and LS.CDMODELO = '2' ", true},
      {RC::GetSqlC381(C(1)), "and LS.NUMERONF >= :pNumeroNF and LS.NUMERONFFINAL <= :pNumeroNFFinal ", true},
      {RC::GetSqlC395(C(0)), "and LE.CDMODELO in ('2', '2D', '2E', '59', '65') ", true},
      {RC::GetSqlC396(C(0)), "and (LPC.VALORPIS + LPC.VALORCOFINS) > 0 ", true},
      {RC::GetSqlC405(C(1)), "AND RZ.CODIGOIMPRESSORAFISCAL = :CODIGOIMPRESSORAFISCAL ", true},
      {RC::GetSqlProcRefC489_499(C(1)),
       " WHERE R.CODIGOEMPRESA = :CODIGOEMPRESA  AND P.DATAFINAL >= :DATAINICIAL  AND P.DATAINICIAL <= :DATAFINAL ", true},
      {RC::GetSqlC490(C(1)), "MIN(L.DATALCTOFIS) DATALCTOFISINI", true},
      {RC::GetSqlC500(C(0)), "AND ((LC.SEQ is null) or  (LC.SEQ = (SELECT MIN(LC2.SEQ) ", true},
      {RC::GetSqlC500(C(0)), " order by L.DATALCTOFIS ", true},
      {RC::GetSqlC501(C(0)), "LPC.TIPOCREDITOPIS TIPOCREDITO", true},
      {RC::GetSqlC509(C(0)), "AND LP.DATALCTOFIS BETWEEN PR.DATAINICIAL AND PR.DATAFINAL ", true},
      {RC::GetSqlC600(C(1)), "cast(SUM(LP.ISENTASICMS + LP.OUTRASICMS) as numeric(14,2)) VLSERVNT", true},
      {RC::GetSqlC600(C(1)), "AND L.CDSITUACAO IN (0, 1, 2, 3, 99) ", true},
      {RC::GetSqlC860(C(1)), "and L.CDMODELO = '59' ", true},
      {RC::GetSqlC870(C(1)), "and PC.QUANTIDADE = 0 ", true},
      {RC::GetSqlC880(C(1)), "and PC.QUANTIDADE > 0 ", true},
      {RC::GetFiltroCFOP("LP.CODIGOCFOP", true),
       " CASE  WHEN F.SIGLAESTADO = 'DF'   AND CAST(SUBSTR(cast(LP.CODIGOCFOP as varchar(10)), 1, 1) AS INTEGER) = 9 "
       "  AND PS.SIGLAESTADO = F.SIGLAESTADO  THEN 5933  WHEN F.SIGLAESTADO = 'DF' ", true},
      {RC::GetFiltroCFOP("LP.CODIGOCFOP", true), " THEN 6933  ELSE CAST(SUBSTR(cast(LP.CODIGOCFOP as varchar(10)), 1, 4) AS INTEGER) END ", true},
      {RC::GetFiltroCFOP("LP.CODIGOCFOP", false), " ELSE LP.CODIGOCFOP END ", true},
  };
  for (const auto& c : casos) EXPECT_EQ(Tem(c.Texto, c.Trecho), c.Presente) << c.Trecho;
}

// Com o IPI apurado, o C100 de entrada soma o documento inteiro no HAVING.
TEST_F(BlocoCDTextos, C100ComIPIApuradoUsaOSomatorioDoDocumento) {
  FHost.Host().Database().Executar(
      "INSERT INTO OPCAOIPI (CODIGOEMPRESA, CODIGOESTAB, DATAINICIAL, APURAIPI) VALUES (1, 1, :D, 1)",
      {VarDate(EncodeDate(2020, 1, 1))});
  ControleIPI().LimparCache();
  const std::string s = RC::GetSqlC100(C(0));
  EXPECT_TRUE(Tem(s, " HAVING ((SELECT cast(SUM(LPC2.VALORPIS + LPC2.VALORCOFINS) as numeric(14,2)) "));
  EXPECT_TRUE(Tem(s, " AND COALESCE(L2.SERIENF, 'NULLA') = COALESCE(LE.SERIENF, 'NULLA') "));
  EXPECT_TRUE(Tem(s, " AND COALESCE(L2.SUBSERIENF, 'NULLA') = COALESCE(LE.SUBSERIENF, 'NULLA') "));
  EXPECT_FALSE(Tem(RC::GetSqlC100(C(1)), "LPC2"));
}

// Cada diferença da gêmea, conferida nos dois sentidos (troca dos textos falha aqui).
TEST_F(BlocoCDTextos, DiferencasDaGemeaEmMemoria) {
  const std::string estabLCO = "and LCO.CODIGOESTAB = :pCodigoEstab";
  for (int mov : {0, 1}) {
    SCOPED_TRACE(mov);
    EXPECT_TRUE(Tem(RC::GetSqlC170(C(mov)), estabLCO));
    EXPECT_FALSE(Tem(RM::GetSqlC170(M(mov)), estabLCO));
    EXPECT_TRUE(Tem(RC::GetSqlC181_185(C(mov)), estabLCO));
    EXPECT_FALSE(Tem(RM::GetSqlC181_185(M(mov)), estabLCO));
    EXPECT_TRUE(Tem(RC::GetSqlC180(C(mov)), estabLCO));
    EXPECT_FALSE(Tem(RM::GetSqlC180(M(mov)), estabLCO));
  }
  EXPECT_TRUE(Tem(RC::GetSqlC111(C(0)), "select distinct LS.DATALCTOFIS"));
  EXPECT_TRUE(Tem(RM::GetSqlC111(M(0)), "select LS.DATALCTOFIS"));
  EXPECT_TRUE(Tem(RC::GetSqlC396(C(0)), "LPC.RECEITAPISCOFINS"));
  EXPECT_FALSE(Tem(RM::GetSqlC396(M(0)), "LPC.RECEITAPISCOFINS"));
  EXPECT_TRUE(Tem(RC::GetSqlC400(C(1)), "FROM IMPRESSORAFISCAL I"));
  EXPECT_TRUE(Tem(RM::GetSqlC400(M(1)), "FROM LCTOFISSAI L"));
  EXPECT_TRUE(Tem(RM::GetSqlC400(M(1)), "WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA "));
  EXPECT_TRUE(Tem(RC::GetSqlC405(C(1)), "AND I.CDMODELO IN ('2', '2D') WHERE"));
  EXPECT_TRUE(Tem(RM::GetSqlC405(M(1)), ":CODIGOIMPRESSORAFISCAL AND I.CDMODELO IN ('2', '2D') ORDER"));
  // C490 e C601 diferem só em brancos.
  for (auto [principal, gemea] : {std::pair{RC::GetSqlC490(C(1)), RM::GetSqlC490(M(1))},
                                  std::pair{RC::GetSqlC601(C(1)), RM::GetSqlC601(M(1))}}) {
    EXPECT_NE(principal, gemea);
    EXPECT_EQ(SemBrancosRepetidos(principal), SemBrancosRepetidos(gemea));
  }
  // SCP: a forma longa da principal recebe EstabSCP; a gêmea, falso.
  EXPECT_TRUE(Tem(RC::GetSqlC100(C(1, 0, "1", true)), "LS.CODIGOESTABSCP"));
  EXPECT_FALSE(Tem(RM::GetSqlC100(M(1)), "CODIGOESTABSCP"));
  // Dicas do C170 (só nas entradas).
  FHost.ForcarKorvel(true);
  EXPECT_TRUE(Tem(RC::GetSqlC170(C(0)), "select  /*+ INDEX(L PKLCTOFISENT)  INDEX(F FKESTABEMPRESA) INDEX(LP "
                                        "FKLCTOFISENTPRODUTOLCTOFISENT) "));
  EXPECT_TRUE(Tem(RM::GetSqlC170(M(0)), "select  /*+ INDEX(LP LCTOFISENTPRODUTO_01_UC) INDEX(F FKESTABEMPRESA) "));
  EXPECT_TRUE(Tem(RC::GetSqlC170(C(0)), " /*+ INDEX(LCO IXLCTOFISENTCFOP) */ "));
  EXPECT_FALSE(Tem(RC::GetSqlC170(C(1)), "/*+"));
  EXPECT_TRUE(Tem(RC::GetSqlC501(C(0)), "select  /*+ INDEX(LP LCTOFISENTPRODUTO_01_UC) */ "));
  EXPECT_TRUE(Tem(RD::GetSqlD101(D()), " SELECT  /*+ INDEX(LP LCTOFISENTPRODUTO_01_UC) */ "));
}

TEST_F(BlocoCDTextos, FragmentosDoBlocoD) {
  const std::string d100 = RD::GetSqlD100(D());
  for (const char* t : {"MAX(LC.CODOBS0450) CODOBS0450", "cast(TRIM(LE.SERIENF) as varchar(4)) SERIENF",
                        " AND LE.CDMODELO IN ('7', '8', '8B', '9', '10', '11', '26', '27', '57', '63', '67') ",
                        "AND LPC.VALORPIS + LPC.VALORCOFINS > 0 ", "AND LEC.TIPOIMPOSTO IN (1, 3)) "})
    EXPECT_TRUE(Tem(d100, t)) << t;
  struct TCaso {
    std::string Texto, Trecho;
  };
  const std::vector<TCaso> casos = {
      {RD::GetSqlD101(D()), "MAX(LPC.TIPOCREDITOPIS) TIPOCREDITO"},
      {RD::GetSqlD105(D()), "MAX(LPC.TIPOCREDITO) TIPOCREDITO"},
      {RD::GetSqlD111(D()), " AND L.CDMODELO IN ('7', '8', '8B', '9', '10',  '11', '26', '27', '57', '67') "},
      {RD::GetSqlD111(D()), " INNER JOIN LCTOFISENTSPEDC111 LS "},
      {RD::GetSqlD200(D()), " AND PC.TIPODEBITOPIS <> '4.3.05.00' AND PC.TIPODEBITO <> '4.3.05.00'"},
      {RD::GetSqlD200(D()), "cast(SUBSTR(cast(LP.CODIGOCFOP as varchar(10)), 1, 4) as varchar(4)) CODIGOCFOP"},
      {RD::GetSqlD300(D()), " AND L.CDMODELO IN ('13', '14', '15', '16', '18') "},
      {RD::GetSqlD300(D()), "L.CODIGOREDUCAOZ = LZ.CODIGOREDUCAOZ) "},
      {RD::GetSqlD309(D()), "MAX(cast(SUBSTR(cast(C.CODIGOCFOP as varchar(10)), 1, 4) as varchar(4))) CODIGOCFOPN"},
      {RD::GetSqlD350(D()), "LPC.RECEITAPISCOFINS TOTALBRUTO"},
      {RD::GetSqlD350(D()), " AND LCS.CDMODELO IN ('2E', '13', '14', '15', '16') "},
      {RD::GetSqlD350(D()), "MAX(LPC.CONTACTBEFD) AS CONTACTBEFD"},
      {RD::GetSqlD500(D()), "AND (LPC.VALORPIS + LPC.VALORCOFINS) > 0 "},
      {RD::GetSqlD501(D()), " AND LS.CDMODELO IN ('21', '22') "},
      {RD::GetSqlD509(D()), "AND L.CDMODELO IN ('21', '22') "},
      {RD::GetSqlD600(D()), " SELECT DISTINCT "},
      {RD::GetSqlD600(D()), "LC.TIPOIMPOSTO = 1"},
      {RD::GetSqlD600(D()), " FROM LCTOFISSAI L  JOIN PESSOA P "},
      {RD::GetSqlD601(D()), " ORDER BY SP.CODIGOCLASS, CDSITUATRIBUTPIS, ALIQPIS, CONTACTB"},
      {RD::GetSqlD605(D()), " ORDER BY CODIGOCLASS, CDSITUATRIBUTCOFINS, ALIQCOFINS, CONTACTB"},
      {RD::GetSqlD609(D()), "ORDER BY L.CDMODELO, M.CODIGORAIS, 3, "},
  };
  for (const auto& c : casos) EXPECT_TRUE(Tem(c.Texto, c.Trecho)) << c.Trecho;
  // D não usa o lado do registro: a forma longa vai como saída, com o SCP do registro.
  EXPECT_TRUE(Tem(RD::GetSqlD200(D("1", true)), "L.CODIGOESTABSCP"));
}

// Sem dica, sem marcador sobrando, e o estabelecimento entre a empresa e o período (a ordem
// dos valores do carregador); na gêmea o C170 e o C181/C185 o trazem depois do período.
TEST_F(BlocoCDTextos, ParametrosNaOrdemDosValores) {
  for (int mov : {0, 1, 2})
    for (const char* estab : {"1", "1,2"}) {
      auto conferir = [&](const std::vector<TCasoBloco>& casos, const char* classe) {
        for (const auto& c : casos) {
          SCOPED_TRACE(std::string(classe) + " " + c.Nome + " mov " + std::to_string(mov) + " estab " + estab);
          EXPECT_FALSE(Tem(c.SQL, "/*+"));
          EXPECT_FALSE(Tem(c.SQL, "%"));
          const auto nomes = AnalisarParametros(c.SQL).Nomes;
          EXPECT_EQ(nomes.size(), c.ValoresReais.size());
          for (size_t i = 0; i < nomes.size(); ++i) {
            if (nomes[i] != "PCODIGOESTAB") continue;
            const bool depois = std::string(classe) == "mem" && (c.Nome == "C170" || c.Nome == "C181_185");
            EXPECT_EQ(i, depois ? 3u : 1u);
          }
        }
      };
      conferir(CasosBlocoC<RC>(C(mov, 2, estab)), "principal");
      conferir(CasosBlocoC<RM>(M(mov, 2, estab)), "mem");
      conferir(CasosBlocoD(D(estab)), "D");
    }
}

}  // namespace
