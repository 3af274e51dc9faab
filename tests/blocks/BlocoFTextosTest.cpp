// Textos do bloco F: filtro de estabelecimento, SCP, opções lidas para a empresa do registro.
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

class BlocoFTextos : public ::testing::Test {
 protected:
  void SetUp() override { FHost.CriarEsquema(false); }
  THostTexto FHost;
  TnArqRepositorioSPEDPisCofinsBlocoFDetalhado FDetalhado;
  TnArqRepositorioSPEDPisCofinsBlocoFConsolidado FConsolidado;
};

// A opção do F500 é a da empresa do registro, seja qual for a empresa em que o objeto de
// opções ficou da última consulta; e o objeto volta como estava.
TEST_F(BlocoFTextos, OpcaoF500DaEmpresaDoRegistro) {
  auto& banco = FHost.Host().Database();
  banco.Executar("INSERT INTO OPCAOEFD (CODIGOEMPRESA, CODIGOESTAB, DATAEFD, REGIMEAPU) VALUES (2, 1, :D, 1)",
                 {VarDate(EncodeDate(2020, 1, 1))});
  banco.Executar("INSERT INTO OPCAOEFDCOMPL (CODIGOEMPRESA, CODIGOESTAB, DATAEFD, OPTANTEEFD, GERACAOF500F525) "
                 "VALUES (2, 1, :D, 1, 1)",
                 {VarDate(EncodeDate(2020, 1, 1))});
  TnParansBlocoF empresa2 = Parans(1);
  empresa2.CodigoEmpresa = 2;
  ControleOpcaoEFD().Configurar(2, 1, EncodeDate(2024, 1, 1));
  for (const auto* f : {static_cast<const R*>(&FDetalhado), static_cast<const R*>(&FConsolidado)}) {
    EXPECT_EQ(f->GetSqlF500(Parans(1)).find("'57'"), std::string::npos);
    EXPECT_EQ(f->GetSqlF550(Parans(1)).find("'57'"), std::string::npos);
  }
  EXPECT_EQ(ControleOpcaoEFD().GetCodigoEmpresa(), 2);
  ControleOpcaoEFD().Configurar(1, 1, EncodeDate(2024, 1, 1));
  EXPECT_NE(FDetalhado.GetSqlF500(empresa2).find("'57'"), std::string::npos);
  EXPECT_NE(R::GetSqlF509(empresa2).find("'57'"), std::string::npos);
  EXPECT_EQ(R::GetSqlF509(Parans(1)).find("'57'"), std::string::npos);
  EXPECT_EQ(ControleOpcaoEFD().GetCodigoEmpresa(), 1);
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

}  // namespace
