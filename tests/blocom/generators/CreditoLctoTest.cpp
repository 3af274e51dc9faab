// Créditos dos lançamentos (M100/M500 a M115/M515): casos de borda com empresas pequenas
// montadas linha a linha, um contexto de execução montado pelo teste, nos dois bancos.
#include <gtest/gtest.h>

#include "blocom/control/nFisEFDControleBlocoM_U.h"
#include "blocom/generators/nFisEFDGeradorBlocoM100M500LctoDacon_U.h"
#include "blocom/generators/nFisEFDGeradorBlocoM100M500LctoEFD_U.h"
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
               const std::string& ANatureza, double ABase, double AQtd = 0) {
    if (Contar("SELECT COUNT(*) FROM LCTOFISENT WHERE CHAVELCTOFISENT = " + std::to_string(AChave)) == 0)
      L("LCTOFISENT").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVELCTOFISENT", AChave)
          .D("DATALCTOFIS", "2024-01-05").Gravar();
    L("LCTOFISENTPISCOFINS").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVELCTOFISENT", AChave)
        .I("CODIGOPRODUTO", AProduto).I("SEQ", ASeq).D("DATALCTOFIS", "2024-01-05").I("CODIGOCFOP", ACFOP)
        .I("CDSITUATRIBUTPIS", ACST).I("CDSITUATRIBUTCOFINS", ACST).V("ALIQPIS", AAliqPis).V("ALIQCOFINS", AAliqCofins)
        .V("QUANTIDADE", AQtd).V("RECEITAPISCOFINS", ABase).V("BASECALCULOPISCOFINS", ABase).V("VALORPIS", 0)
        .V("VALORCOFINS", 0).T("TIPOCREDITO", ANatureza).T("TIPOCREDITOPIS", ANatureza).Gravar();
  }
  // Linha de saída de PIS; ARef > 0 cita a entrada ARef no documento.
  void Saida(int AChave, int ASeq, int AProduto, int ACFOP, int ACST, double AAliq, double ABase, double AQtd = 0,
             const std::string& ADebito = "4.3.05.00", int ARef = 0) {
    if (Contar("SELECT COUNT(*) FROM LCTOFISSAI WHERE CHAVELCTOFISSAI = " + std::to_string(AChave)) == 0) {
      L("LCTOFISSAI").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVELCTOFISSAI", AChave)
          .D("DATALCTOFIS", "2024-01-15").I("NUMERONF", AChave).Gravar();
      if (ARef)
        L("LCTOFISSAISPEDC113").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVELCTOFISSAI", AChave).I("SEQ", 1)
            .D("DATALCTOFIS", "2024-01-15").I("CHAVELCTOFISENTREF", ARef).Gravar();
    }
    L("LCTOFISSAIPISCOFINS").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVELCTOFISSAI", AChave)
        .I("CODIGOPRODUTO", AProduto).I("SEQ", ASeq).D("DATALCTOFIS", "2024-01-15").I("CODIGOCFOP", ACFOP)
        .I("CDSITUATRIBUTPIS", ACST).I("CDSITUATRIBUTCOFINS", ACST).V("ALIQPIS", AAliq).V("ALIQCOFINS", 7.6)
        .V("QUANTIDADE", AQtd).V("RECEITAPISCOFINS", ABase).V("BASECALCULOPISCOFINS", ABase).T("TIPODEBITO", ADebito)
        .T("TIPODEBITOPIS", ADebito).T("CONTACTBEFD", "1.1.3.01.001").Gravar();
  }
  void Ajuste(int ASeq, const std::string& ANatureza, const std::string& ADescricao) {
    L("EFDAJUSTEPISCOFINS").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("SEQ", ASeq).D("DATALCTOFIS", "2024-01-20")
        .I("TIPOAJUSTE", 0).T("INDAJUSTE", "0").T("NATAJUSTE", ANatureza).T("CODIGOAJUSTE", "4.3.08.06")
        .T("NUMPROCESSO", "").T("DESCAJUSTE", ADescricao).V("ALIQAJUSTEPIS", 1.65).V("ALIQAJUSTECOFINS", 7.6)
        .I("TIPOAPURACAO", 0).Gravar();
  }
  void AjusteDet(int ASeqAjuste, int ASeq, int ACST, double ABase, double AValor, const std::string& ADesc) {
    L("EFDAJUSTEPISCOFINSDET").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("SEQAJUSTE", ASeqAjuste).I("SEQ", ASeq)
        .D("DATAOPERACAO", "2024-01-19").V("QUANTIDADE", 0).I("CSTPIS", ACST).I("CSTCOFINS", ACST)
        .V("BASECALCULOPISCOFINS", ABase).V("VLRAJUSTEPIS", AValor).V("VLRAJUSTECOFINS", 0).T("DESCAJUSTE", ADesc)
        .T("CONTACTB", "4.1.1").Gravar();
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
  TM100_500CreditoImpostoList& Creditos(TTipoApuracao ATipo, int AImposto) {
    auto& m001 = *FMapa.at(ATipo);
    return AImposto == 15 ? m001.FM100List : m001.FM500List;
  }
  const TM100_500CreditoImposto& Credito(const std::string& AChave, int AImposto = 15,
                                         TTipoApuracao ATipo = TTipoApuracao::taNormal) {
    return Creditos(ATipo, AImposto).Items(AChave);
  }
  // Ajuste do crédito pelo número do documento (único em cada caso).
  const TM110_510_220_620AjusteCredImp* AjusteDoc(const std::string& ACredito, const std::string& ADoc) {
    for (const auto& [k, aj] : Credito(ACredito).FM110_510List)
      if (aj->FNUM_DOC == ADoc) return aj.get();
    return nullptr;
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

// Ajustes lançados: parcelas do CST comum rateadas cada uma pela sua proporção, lançamentos de
// mesma chave somados num M110, ajuste de crédito inexistente descartado.
TEST_P(CreditoLcto, AjustesPartilhadosSomadosEDescartados) {
  OpcaoEFD(1, 1, "2020-01-01", 2);
  Proporcao(56, 50, 30, 20);
  Proporcao(50, 100, 0, 0);
  Produto(1);
  Entrada(1, 1, 1, 1102, 56, 1.65, 7.6, "4.3.07.01", 1000);
  Entrada(2, 1, 1, 1102, 50, 1.65, 7.6, "4.3.07.01", 1000);
  Ajuste(1, "4.3.06.101", "ESTORNO");
  AjusteDet(1, 1, 56, 606.06, 10.00, "FURTO");
  Ajuste(2, "4.3.06.101", "QUEBRA");
  AjusteDet(2, 1, 50, 60, 1.00, "QUEBRA A");
  Ajuste(3, "4.3.06.101", "QUEBRA");
  AjusteDet(3, 1, 50, 120, 2.00, "QUEBRA B");
  Ajuste(4, "4.3.06.105", "SEM CRÉDITO");
  AjusteDet(4, 1, 50, 400, 7.00, "NADA");
  // Descrição longa: o corte em 100 caracteres não parte o "É" e o detalhe acha o seu ajuste.
  const std::string longa = std::string(99, 'A') + "ÉXYZ";
  Ajuste(5, "4.3.06.101", longa);
  AjusteDet(5, 1, 50, 60, 1.00, "LONGA");

  Rodar<TnFisEFDGeradorM100_M500LctoEFD>(15);
  for (auto [chave, valor, base] : {std::tuple{"101|1.65|0|0", 5.00, 303.03}, {"201|1.65|0|0", 3.00, 181.82},
                                    {"301|1.65|0|0", 2.00, 121.21}}) {
    SCOPED_TRACE(chave);
    const auto& aj = Credito(chave).FM110_510List.Items("0|06||20012024|ESTORNO");
    ASSERT_EQ(aj.FM115_515_225_625List.Count(), 1);
    const auto& det = *aj.FM115_515_225_625List.begin()->second;
    EXPECT_DOUBLE_EQ(det.DET_VALOR_AJ, valor);
    EXPECT_DOUBLE_EQ(det.DET_BC_CRED, base);
    EXPECT_EQ(det.CST, 56);
    EXPECT_DOUBLE_EQ(aj.GetVL_AJ(), valor);
  }
  const auto& quebra = Credito("101|1.65|0|0").FM110_510List.Items("0|06||20012024|QUEBRA");
  EXPECT_EQ(quebra.FM115_515_225_625List.Count(), 2);
  EXPECT_DOUBLE_EQ(quebra.GetVL_AJ(), 3.00);
  int ajustes = 0;
  for (const auto& [k, cred] : Creditos(TTipoApuracao::taNormal, 15)) ajustes += cred->FM110_510List.Count();
  EXPECT_EQ(ajustes, 5);  // o de tipo 105 não tem crédito onde ficar
  const auto& corte = Credito("101|1.65|0|0").FM110_510List.Items("0|06||20012024|" + std::string(99, 'A') + "É");
  EXPECT_EQ(corte.FM115_515_225_625List.Count(), 1);
}

// Devoluções: casadas com a linha de entrada de menor sequência ainda não usada; perdas e
// baixas (5927, 5949/6949 com CST 49 e débito de ajuste) pelo CST da empresa quando a linha
// não tem CST de crédito; cada redução ganha um detalhe automático.
TEST_P(CreditoLcto, DevolucoesViramReducoesDoCreditoDaEntrada) {
  OpcaoEFD(1, 1, "2020-01-01", 2, "CSTAJUSTECREDITO=56");
  Proporcao(56, 50, 30, 20);
  Proporcao(50, 100, 0, 0);
  Proporcao(51, 0, 100, 0);
  for (int p : {7, 8, 9}) Produto(p);
  Entrada(10, 1, 7, 1102, 50, 1.65, 7.6, "4.3.07.01", 5000);
  Entrada(10, 2, 7, 1102, 50, 0.65, 3.0, "4.3.07.01", 5000);
  Entrada(11, 1, 8, 1102, 56, 1.65, 7.6, "4.3.07.01", 1000);
  Entrada(12, 1, 9, 1102, 51, 1.65, 7.6, "4.3.07.01", 100);
  Saida(20, 1, 7, 5202, 50, 1.65, 1000, 0, "4.3.05.00", 10);  // 1000 x 1,65% = 16,50 na linha 1
  Saida(20, 2, 7, 5202, 50, 0.5, 0, 10);                     // 10 x 0,50 = 5,00 na linha 2
  Saida(20, 3, 7, 5202, 50, 1.65, 500);                      // nada mais a devolver
  Saida(21, 1, 8, 5927, 1, 1.65, 1000, 0, "4.3.08.06");      // CST da empresa: 56, em três parcelas
  Saida(22, 1, 9, 5927, 51, 1.65, 100, 0, "4.3.08.06");      // CST de crédito próprio: fica 51
  Saida(23, 1, 8, 5949, 1, 1.65, 900, 0, "4.3.08.06");       // 5949 só com CST 49
  Saida(24, 1, 8, 6949, 49, 1.65, 200, 0, "4.3.08.06");

  Rodar<TnFisEFDGeradorM100_M500LctoEFD>(15);
  struct TCaso {
    const char* Credito;
    const char* Doc;
    double Valor;  // 0: não pode haver ajuste
  } casos[] = {{"101|1.65|0|0", "20", 16.50}, {"101|0.65|0|0", "20", 5.00}, {"101|1.65|0|0", "21", 8.25},
               {"201|1.65|0|0", "21", 4.95},  {"301|1.65|0|0", "21", 3.30}, {"201|1.65|0|0", "22", 1.65},
               {"101|1.65|0|0", "22", 0},     {"101|1.65|0|0", "23", 0},    {"101|1.65|0|0", "24", 1.65},
               {"201|1.65|0|0", "24", 0.99},  {"301|1.65|0|0", "24", 0.66}};
  for (const auto& c : casos) {
    SCOPED_TRACE(std::string(c.Credito) + " doc " + c.Doc);
    const auto* aj = AjusteDoc(c.Credito, c.Doc);
    if (c.Valor == 0) {
      EXPECT_EQ(aj, nullptr);
      continue;
    }
    ASSERT_NE(aj, nullptr);
    EXPECT_EQ(aj->FIND_AJ + "|" + aj->FDT_REF, "0|15012024");  // redução, na data da saída
    ASSERT_EQ(aj->FM115_515_225_625List.Count(), 1);
    EXPECT_DOUBLE_EQ(aj->GetVL_AJ(), c.Valor);
    EXPECT_EQ(aj->FM115_515_225_625List.begin()->second->COD_CTA, "1.1.3.01.001");
  }
  int ajustes = 0;
  for (const auto& [k, cred] : Creditos(TTipoApuracao::taNormal, 15)) ajustes += cred->FM110_510List.Count();
  EXPECT_EQ(ajustes, 9);  // a terceira devolução do produto 7 e a 5949 com CST 01 não geram ajuste
}
