// Créditos dos lançamentos no caminho do lucro real, que a conferência da demonstração (empresa
// optante da EFD) e os cenários não alcançam: o total já descontado cobre os créditos na ordem.
#include <gtest/gtest.h>

#include "blocom/control/nFisEFDControleBlocoM_U.h"
#include "blocom/generators/nFisEFDGeradorBlocoM100M500LctoDacon_U.h"
#include "fixtures/Servicos.h"
#include "host/Host.h"
#include "host/OpcaoEFD.h"
#include "host/Servicos.h"

namespace {

class CreditoLcto : public TServicosTeste {
 protected:
  TLinhaTabela L(const std::string& ATabela) { return TLinhaTabela(Banco(), ATabela); }

  void Produto(int ACodigo, int ADacon = 0) {
    L("PRODUTO").I("CODIGOEMPRESA", 1).I("CODIGOPRODUTO", ACodigo).I("DACONTIPORECEITA", ADacon).Gravar();
  }
  // Percentuais da receita que rateiam o CST: tributada, não tributada, exportação.
  void Proporcao(int ACst, double ATrib, double ANTrib, double AExport) {
    L("PROPORCAOCREDITOCST").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 0).D("DATAINICIAL", "2024-01-01")
        .D("DATAFINAL", "2024-01-31").I("CST", ACst).V("PERCRECTRIBNCUM", ATrib).V("PERCRECNTRIB", ANTrib)
        .V("PERCRECEXPORT", AExport).V("PERCRECCUM", 0).Gravar();
  }
  // Linha de entrada (mesmo CST nos dois tributos); o cabeçalho é gravado uma vez por chave.
  void Entrada(int AChave, int ASeq, int AProduto, int ACFOP, int ACST, double AAliqPis, double AAliqCofins,
               const std::string& ANatureza, double ABase) {
    if (Contar("SELECT COUNT(*) FROM LCTOFISENT WHERE CHAVELCTOFISENT = " + std::to_string(AChave)) == 0)
      L("LCTOFISENT").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVELCTOFISENT", AChave)
          .D("DATALCTOFIS", "2024-01-05").Gravar();
    L("LCTOFISENTPISCOFINS").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVELCTOFISENT", AChave)
        .I("CODIGOPRODUTO", AProduto).I("SEQ", ASeq).D("DATALCTOFIS", "2024-01-05").I("CODIGOCFOP", ACFOP)
        .I("CDSITUATRIBUTPIS", ACST).I("CDSITUATRIBUTCOFINS", ACST).V("ALIQPIS", AAliqPis).V("ALIQCOFINS", AAliqCofins)
        .V("QUANTIDADE", 0).V("RECEITAPISCOFINS", ABase).V("BASECALCULOPISCOFINS", ABase).V("VALORPIS", 0)
        .V("VALORCOFINS", 0).T("TIPOCREDITO", ANatureza).T("TIPOCREDITOPIS", ANatureza).Gravar();
  }
  // Roda a raiz num contexto novo (empresa inteira, janeiro de 2024) e devolve os M001.
  template <class G>
  TMapaAberturaBloco& Rodar(int16_t AImposto) {
    Host().Servicos().LimparCaches();
    FMapa.clear();
    FControle = std::make_unique<TnFisEFDControleBlocoM>();
    auto& c = FControle->FConfigBlocoM;
    c.CodigoEmpresa = 1;
    c.DataInicial = D("2024-01-01");
    c.DataFinal = D("2024-01-31");
    c.ModoGeracao = TModoGeracao::mgEmpresa;
    FControle->FLstRegistroM001 = &FMapa;
    FControle->FDeveProcessarCreditos = true;
    FControle->FFormaCarregarProporcao = TFormaCarregarProporcao::fpCarregarBanco;
    ControleOpcaoEFD().Configurar(1, 1, c.DataInicial);
    FControle->CarregarProporcaoCredito();
    auto g = TnFisEFDGeradorBlocoM::Criar<G>(*FControle, AImposto);
    g->ProcessarRegistro();
    return FMapa;
  }
  const TM100_500CreditoImposto& Credito(const std::string& AChave) {
    return FMapa.at(TTipoApuracao::taNormal)->FM100List.Items(AChave);
  }

  TMapaAberturaBloco FMapa;
  std::unique_ptr<TnFisEFDControleBlocoM> FControle;
};

}  // namespace

PISCO_INSTANCIAR_BANCOS(CreditoLcto);

// Lucro real: o total já descontado de um código cobre os créditos na ordem das chaves.
TEST_P(CreditoLcto, DescontoDoLucroRealPelaOrdemDasChaves) {
  Proporcao(50, 100, 0, 0);
  Produto(1);
  Produto(2, 62);
  Entrada(1, 1, 1, 1102, 50, 0.65, 3.0, "4.3.07.01", 15384.62);  // 100,00 de PIS
  Entrada(2, 1, 1, 1102, 50, 1.65, 7.6, "4.3.07.01", 4848.48);   // 80,00 de PIS
  Entrada(3, 1, 2, 1102, 51, 1.65, 7.6, "4.3.07.01", 100);       // sem a EFD, tudo no tipo 0
  L("TOTALLUCROREALCREDSPED").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).D("DATALCTOFIS", "2024-01-31").I("SEQ", 1)
      .I("IMPOSTO", 15).T("CODCRED", "4.3.06.101").D("PERAPUCRED", "2024-01-01").V("VLCREDDESCEFD", 150).Gravar();
  for (auto [total, primeiro, segundo] : {std::tuple{150.0, 100.0, 50.0}, {50.0, 50.0, 0.0}}) {
    SCOPED_TRACE(total);
    Banco().Executar("UPDATE TOTALLUCROREALCREDSPED SET VLCREDDESCEFD = :V", {TVariant(total)});
    Rodar<TnFisEFDGeradorM100_M500LctoDacon>(15);
    ASSERT_EQ(FMapa.size(), 1u);
    EXPECT_DOUBLE_EQ(Credito("101|0.65|0|0").FVL_CRED_DESC, primeiro);
    EXPECT_DOUBLE_EQ(Credito("101|1.65|0|0").FVL_CRED_DESC, segundo);
    EXPECT_DOUBLE_EQ(Credito("201|1.65|0|0").FVL_CRED_DESC, 0);
  }
}
