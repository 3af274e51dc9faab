// Textos do bloco F: expressões e fragmentos literais, F100 nos dois lados, opção do F500.
#include <gtest/gtest.h>

#include <string>

#include "blocks/BlocosTeste.h"
#include "blocks/CatalogoBlocos.h"
#include "host/Nutilinclusao.h"

namespace {

using R = TnArqRepositorioSPEDPisCofinsBlocoF;

TnParansBlocoF Parans(int AMovimento, std::string AEstab = "1", bool AScp = false) {
  return TnParansBlocoF{1, std::move(AEstab), EncodeDate(2024, 1, 1), EncodeDate(2024, 1, 31), false,
                        static_cast<int16_t>(AMovimento), AScp};
}

size_t Ocorrencias(const std::string& s, const std::string& trecho) {
  size_t n = 0;
  for (size_t p = s.find(trecho); p != std::string::npos; p = s.find(trecho, p + 1)) ++n;
  return n;
}

class BlocoFTextos : public ::testing::Test {
 protected:
  void SetUp() override { FHost.CriarEsquema(false); }
  THostTexto FHost;
  TnArqRepositorioSPEDPisCofinsBlocoFDetalhado FDetalhado;
  TnArqRepositorioSPEDPisCofinsBlocoFConsolidado FConsolidado;
};

TEST_F(BlocoFTextos, ExpressoesLiterais) {
  EXPECT_EQ(R::GetFiltroPorAliq("LPC.CDSITUATRIBUTPIS"),
            "(LPC.CDSITUATRIBUTPIS IN (01, 02, 04, 05, 06, 07, 08, 09, 49, 99))");
  EXPECT_EQ(R::GetFiltroPorQtde("LPC.CDSITUATRIBUTPIS", "LPC.TIPODEBITO"),
            "(LPC.CDSITUATRIBUTPIS IN (03, 05, 06, 07, 08, 09, 49, 99) AND LPC.TIPODEBITO = '4.3.05.53') ");
  EXPECT_EQ(R::GetFiltroCDModeloF500("L.CDMODELO"),
            " CASE  WHEN L.CDMODELO = '97' THEN '99'  WHEN L.CDMODELO = '98' THEN '99'  WHEN L.CDMODELO = '99' "
            "THEN '98'  WHEN L.CDMODELO IN ('3', '3A', '3B') AND F.SIGLAESTADO = 'DF' THEN '1'   ELSE L.CDMODELO "
            "END ");
  const std::string cfop = R::GetFiltroCFOP("L.CDMODELO", "LPC.CODIGOCFOP");
  for (const char* trecho :
       {" CASE WHEN L.CDMODELO IN ('97', '98', '99') THEN 0 ",
        "      WHEN L.CDMODELO IN ('2D', '3', '3A', '3B', '55', '65') AND F.SIGLAESTADO = 'DF' ",
        "       AND CAST(SUBSTR(cast(LPC.CODIGOCFOP as varchar(10)), 1, 4) AS INTEGER) IN (9101, 9102, 9103, 9104) ",
        "      THEN 5933 ", " ELSE CAST(SUBSTR(cast(LPC.CODIGOCFOP as varchar(10)), 1, 4) AS INTEGER) END "}) {
    SCOPED_TRACE(trecho);
    EXPECT_NE(cfop.find(trecho), std::string::npos);
  }
  EXPECT_EQ(R::GetSqlContaCTBLCTO("VlrEnc", "ECTB.CONTACTB").rfind("SELECT SPTL.CONTACTBLCTO  from PATTABELACTBLCTO SPTL", 0),
            0u);
}

// Com a opção do F500 = 1 o modelo 57 entra na lista dos que levam CFOP 0.
TEST_F(BlocoFTextos, OpcaoF500IncluiModelo57) {
  EXPECT_EQ(R::GetNaoEhDetalhada(), "");
  EXPECT_EQ(R::GetFiltroCFOP("M", "C").find("'57'"), std::string::npos);
  GravarOpcaoEFDTeste(FHost.Host().Database(), true);
  EXPECT_EQ(R::GetNaoEhDetalhada(), " , '57' ");
  EXPECT_NE(R::GetFiltroCFOP("M", "C").find(" CASE WHEN M IN ('97', '98', '99' , '57' ) THEN 0 "), std::string::npos);
  for (const auto* f : {static_cast<const R*>(&FDetalhado), static_cast<const R*>(&FConsolidado)}) {
    EXPECT_NE(f->GetSqlF500(Parans(1)).find("'57'"), std::string::npos);
    EXPECT_NE(R::GetSqlF509(Parans(1)).find("'57'"), std::string::npos);
  }
}

// Estabelecimento do bloco F: um código vira parâmetro; "0", vazio ou lista vão pelo filtro de intervalo.
TEST_F(BlocoFTextos, FiltroDeEstabelecimento) {
  struct TCaso {
    const char* Estab;
    bool Inclusao;
  };
  const TCaso casos[] = {{"12", false}, {" 12 ", false}, {"-3", false}, {"0", true}, {"", true},
                         {"  ", true},  {"1,3", true},   {"2-4", true}, {"x", true}};
  for (const auto& c : casos) {
    SCOPED_TRACE(std::string("[") + c.Estab + "]");
    EXPECT_EQ(R::EhEstabInclusion(c.Estab), c.Inclusao);
  }
  EXPECT_EQ(R::GetFiltroEstab(Parans(1, " 12 "), "D.CODIGOESTAB"), " and D.CODIGOESTAB = :pCodigoEstab ");
  EXPECT_EQ(R::GetFiltroEstab(Parans(1, "1,3;5-8"), "D.CODIGOESTAB"),
            Nutilinclusao::FilterInterval({"D.CODIGOESTAB"}, "1,3;5-8") + " ");
  EXPECT_EQ(R::GetFiltroEstab(Parans(1, "1,3;5-8"), "D.CODIGOESTAB").find(':'), std::string::npos);
  EXPECT_EQ(R::GetFiltroEstab(Parans(1, ""), "D.CODIGOESTAB"), " ");
  // Texto do usuário que não é lista de estabelecimentos nunca chega ao SQL.
  EXPECT_THROW(R::GetFiltroEstab(Parans(1, "1; drop table x"), "D.CODIGOESTAB"), EPisco);
}

// SCP: só com EstabSCP e TipoMovimento = 1.
TEST_F(BlocoFTextos, FiltroSCPSoNasSaidasDaSCP) {
  const std::string esperado =
      " AND EXISTS (SELECT 1 FROM ESTAB E WHERE E.CODIGOEMPRESA = 1 AND E.SOCIEDADECONTAPARTICIPACAO = '1' AND "
      "E.CODIGOESTAB = D.CODIGOESTAB)";
  EXPECT_EQ(R::GetFiltroEstabSCP(Parans(1, "1", true)), esperado);
  EXPECT_EQ(R::GetFiltroEstabSCP(Parans(0, "1", true)), "");
  EXPECT_EQ(R::GetFiltroEstabSCP(Parans(2, "1", true)), "");
  EXPECT_EQ(R::GetFiltroEstabSCP(Parans(1, "1", false)), "");
  EXPECT_NE(R::GetSqlF100(Parans(1, "1", true)).find(esperado), std::string::npos);
  EXPECT_EQ(R::GetSqlF100(Parans(0, "1", true)).find("SOCIEDADECONTAPARTICIPACAO"), std::string::npos);
}

// F100: sete argumentos; nas saídas indicadores 1 e 2, nas entradas 0 e só documentos com PIS/COFINS.
TEST_F(BlocoFTextos, F100NosDoisLados) {
  const std::string ent = R::GetSqlF100(Parans(0));
  const std::string sai = R::GetSqlF100(Parans(1));
  for (const char* trecho : {"CAST(0 AS INTEGER) INDOPER", "LPC.TIPOCREDITOPIS NATBCCREDCOFINS",
                             "LPC.TIPOCREDITO NATBCCREDPIS", "D.TIPOCREDITOCOFINS NATBCCREDCOFINS",
                             "D.TIPOCREDITO NATBCCREDPIS", " AND D.INDOPER IN (0) ",
                             "HAVING (SUM(LPC.VALORPIS) + SUM(LPC.VALORCOFINS)) > 0", "FROM LCTOFISENTPISCOFINS LPC",
                             "LE.CHAVELCTOFISENT CHAVE"}) {
    SCOPED_TRACE(trecho);
    EXPECT_NE(ent.find(trecho), std::string::npos);
  }
  for (const char* trecho : {"LPC.TIPODEBITOPIS NATBCCREDCOFINS", "LPC.TIPODEBITO NATBCCREDPIS",
                             "D.TIPODEBITOCOFINS NATBCCREDCOFINS", "D.TIPODEBITO NATBCCREDPIS",
                             " AND D.INDOPER IN (1, 2) ", "FROM LCTOFISSAIPISCOFINS LPC"}) {
    SCOPED_TRACE(trecho);
    EXPECT_NE(sai.find(trecho), std::string::npos);
  }
  EXPECT_EQ(sai.find("HAVING"), std::string::npos);
  for (const auto& s : {ent, sai}) {
    EXPECT_EQ(s.find('%'), std::string::npos);
    for (const char* trecho : {"CAST('LCTOFIS' AS VARCHAR(7)) ORIGEM", "CAST('EFDF100' as varchar(7)) ORIGEM",
                               "0 CHAVE", "-1 NUMERONF", "CAST(D.VALOROPER as numeric(14,2)) VLOPER",
                               "CAST(LPC.CONTACTBEFD AS VARCHAR(10)) CODCTA", "LE.CDMODELO IN ('98', '97')",
                               "WHEN D.ORIGEMCREDITO = 1 THEN 3102 ELSE 0 END CODIGOCFOP", " UNION ALL "}) {
      SCOPED_TRACE(trecho);
      EXPECT_NE(s.find(trecho), std::string::npos);
    }
  }
}

// Textos formatados duas vezes e unidos.
TEST_F(BlocoFTextos, TextosFormatadosDuasVezes) {
  const std::string obs = R::GetSqlOBSF100(Parans(1));
  EXPECT_NE(obs.find("0 TIPOMOV"), std::string::npos);
  EXPECT_NE(obs.find("1 TIPOMOV"), std::string::npos);
  EXPECT_NE(obs.find("lctofisENTcompl L"), std::string::npos);
  EXPECT_NE(obs.find("lctofisSAIcompl L"), std::string::npos);
  EXPECT_EQ(Ocorrencias(obs, " and L.CODIGOOPERACAOFIS = 16003 "), 2u);
  EXPECT_EQ(Ocorrencias(obs, " union "), 1u);
  for (const auto& s : {R::GetSqlF509(Parans(1)), R::GetSqlF519(Parans(1)), R::GetSqlF559(Parans(1)),
                        R::GetSqlF569(Parans(1))}) {
    EXPECT_EQ(Ocorrencias(s, "SELECT DISTINCT"), 2u);
    EXPECT_EQ(Ocorrencias(s, " JOIN RELACPROCESREFPRODUTO PRO "), 1u);
    EXPECT_EQ(Ocorrencias(s, " JOIN LCTOFISSAISPEDC111 PRO "), 1u);
    EXPECT_EQ(Ocorrencias(s, " UNION "), 1u);
    EXPECT_EQ(Ocorrencias(s, "INDPROCREF AS VARCHAR(2)) IN ('1', '3', '9')"), 2u);
  }
  EXPECT_NE(R::GetSqlF509(Parans(1)).find(R::GetFiltroPorAliq("LPC.CDSITUATRIBUTPIS")), std::string::npos);
  EXPECT_NE(R::GetSqlF519(Parans(1)).find(R::GetFiltroPorQtde("LPC.CDSITUATRIBUTPIS", "LPC.TIPODEBITO")),
            std::string::npos);
}

// Detalhado e consolidado: complemento, participante e filtro de alíquota.
TEST_F(BlocoFTextos, DetalhadoEConsolidado) {
  const auto p = Parans(1);
  const std::string det = FDetalhado.GetSqlF500(p), cons = FConsolidado.GetSqlF500(p);
  const std::string rateio = "((DPP.VALORPAGO  + DPP.VALORDESCONTO) / DP.VALORPARCELA)";
  EXPECT_EQ(Ocorrencias(det, rateio), 4u);
  EXPECT_EQ(Ocorrencias(cons, rateio), 4u);
  EXPECT_NE(det.find("LEFT JOIN LCTOFISSAICOMPL LC"), std::string::npos);
  EXPECT_NE(cons.find("CAST(NULL AS CHAR) COMPLOBS"), std::string::npos);
  EXPECT_EQ(cons.find("LCTOFISSAICOMPL"), std::string::npos);
  EXPECT_NE(det.find(R::GetFiltroPorAliq("LPC.CDSITUATRIBUTPIS")), std::string::npos);
  EXPECT_NE(cons.find(R::GetFiltroPorAliq("LPC.CDSITUATRIBUTCOFINS")), std::string::npos);

  EXPECT_NE(FDetalhado.GetSqlF525(p).find("D.OBSERVDUPLICATA"), std::string::npos);
  EXPECT_EQ(FConsolidado.GetSqlF525(p).find("D.OBSERVDUPLICATA"), std::string::npos);
  EXPECT_NE(FDetalhado.GetSqlF525RegCaixa(Parans(0)).find(" AND F.INDOPER IN (0) "), std::string::npos);
  EXPECT_NE(FConsolidado.GetSqlF525RegCaixa(Parans(1)).find(" AND F.INDOPER IN (1) "), std::string::npos);
  EXPECT_EQ(FConsolidado.GetSqlF525RegCaixa(p).find("P.INSCRFEDERAL"), std::string::npos);
  EXPECT_NE(FDetalhado.GetSqlF550(p).find(" UNION ALL "), std::string::npos);
  EXPECT_NE(FConsolidado.GetSqlF550(p).find("CASE WHEN ED.CST = 9 THEN ED.VALOROPER ELSE ED.BASECALCULO END"),
            std::string::npos);

}

// F150 lê a tabela da EFD ou a do lucro real pela opção da empresa.
TEST_F(BlocoFTextos, F150TabelaPelaOpcaoEFD) {
  EXPECT_NE(R::GetSqlF150(Parans(1)).find("from EFDCREDPRESESTOQABERT"), std::string::npos);
  FHost.Host().Database().Executar("UPDATE OPCAOEFDCOMPL SET OPTANTEEFD = 0");
  ControleOpcaoEFD().LimparCache();
  EXPECT_NE(R::GetSqlF150(Parans(1)).find("from LUCROREALCREDPRESESTOQABERT"), std::string::npos);
  EXPECT_NE(R::GetSqlF150(Parans(1)).find(" where CODIGOEMPRESA = :pCodigoEmpresa "), std::string::npos);
  EXPECT_NE(R::GetSqlF150(Parans(1)).find(" and DATALCTOFIS between :DATAINICIAL and :DATAFINAL"),
            std::string::npos);
}

TEST_F(BlocoFTextos, FragmentosDosDemaisRegistros) {
  const auto p = Parans(1);
  EXPECT_NE(R::GetSqlF120(p).find("CF.TIPODACONCREDITO IN (1, 6, 7)"), std::string::npos);
  EXPECT_NE(R::GetSqlF120(p).find("UPPER('VlrEnc')"), std::string::npos);
  EXPECT_NE(R::GetSqlF120(p).find("UPPER('VlrEncSoc')"), std::string::npos);
  EXPECT_NE(R::GetSqlF130(p).find("BD.TIPODACONCREDITO NOT IN (1, 6, 7)"), std::string::npos);
  EXPECT_EQ(Ocorrencias(R::GetSqlF130(p), ":pCodigoEstab"), 5u);
  EXPECT_NE(R::GetSqlF700(p).find("1 INDNATDED"), std::string::npos);
  EXPECT_EQ(Ocorrencias(R::GetSqlF700(p), " UNION ALL "), 2u);
  EXPECT_NE(R::GetSqlF800(p).find("order by L.PERAPUCRED, L.CODIGOTABSPED, L.INDNATEVENTO"), std::string::npos);
  EXPECT_NE(R::GetSqlF500RegCaixa(Parans(0)).find(" AND F.INDOPER IN (0) "), std::string::npos);
  EXPECT_NE(R::GetSqlF500RegCaixa(Parans(1)).find(" AND F.INDOPER IN (1) "), std::string::npos);
  EXPECT_NE(R::GetSqlF600(p).find("LPC.TIPODEBITO <> '4.3.05.00'"), std::string::npos);
}

}  // namespace
