// Créditos dos lançamentos (M100/M500 e seus M105/M505) com uma linha de cada fonte e a proporção
// de receitas gravada: código do crédito por fonte, parcelas dos CSTs comuns pela proporção,
// crédito pela alíquota e o livro de créditos com o disponível de cada registro.
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <map>

#include "blocom/control/nFisEFDControleBlocoM_U.h"
#include "blocom/generators/nFisEFDGeradorBlocoM100M500LctoEFD_U.h"
#include "credits/CreditosFixture.h"
#include "host/OpcaoEFD.h"

namespace {
class CreditoLcto : public TCreditosTeste {};
}  // namespace

PISCO_INSTANCIAR_BANCOS(CreditoLcto);

TEST_P(CreditoLcto, CodigoParcelasECreditoDeCadaFonte) {
  Opcao();
  Linha("PRODUTO").I("CODIGOEMPRESA", 1).I("CODIGOPRODUTO", 1).I("DACONTIPORECEITA", 0).Gravar();
  for (const char* sql : {
           // receita do mês: CST 54 em 60% tributada e 40% exportação; CST 56 em 50/30/20
           "INSERT INTO PROPORCAOCREDITOCST (CODIGOEMPRESA, CODIGOESTAB, DATAINICIAL, CST, PERCRECTRIBNCUM, PERCRECCUM,"
           " PERCRECNTRIB, PERCRECEXPORT) VALUES (1, 0, '2024-01-01', 54, 60, 0, 0, 40),"
           " (1, 0, '2024-01-01', 56, 50, 0, 30, 20)",
           "INSERT INTO LCTOFISENTPISCOFINS (CODIGOEMPRESA, CODIGOESTAB, CHAVELCTOFISENT, CODIGOPRODUTO, SEQ, DATALCTOFIS,"
           " CODIGOCFOP, CDSITUATRIBUTPIS, CDSITUATRIBUTCOFINS, TIPOCREDITOPIS, TIPOCREDITO, ALIQPIS, ALIQCOFINS,"
           " QUANTIDADE, BASECALCULOPISCOFINS, VALORPIS, VALORCOFINS) VALUES"
           " (1, 1, 1, 1, 1, '2024-01-03', 1102, 50, 50, '4.3.07.01', '4.3.07.01', 1.65, 7.6, 0, 1000, 16.5, 76),"
           " (1, 1, 2, 1, 1, '2024-01-03', 1102, 54, 54, '4.3.07.01', '4.3.07.01', 1.65, 7.6, 0, 1000, 16.5, 76),"
           " (1, 1, 3, 1, 1, '2024-01-03', 1102, 56, 56, '4.3.07.01', '4.3.07.01', 1.65, 7.6, 0, 2000, 33, 152),"
           " (1, 1, 4, 1, 1, '2024-01-03', 1102, 50, 50, '4.3.07.01', '4.3.07.01', 0.5, 2.3, 10, 0, 5, 23)",
           "INSERT INTO EFDCREDPRESESTOQABERT (CODIGOEMPRESA, CODIGOESTAB, DATALCTOFIS, SEQ, VLRTOTEST, VLRBCMENEST, CSTPIS,"
           " ALIQPIS, VLRCREDPIS, CSTCOFINS, ALIQCOFINS, VLRCREDCOFINS, TIPOAPURACAO)"
           " VALUES (1, 1, '2024-01-10', 1, 1200, 100, 50, 1.65, 19.8, 50, 7.6, 91.2, 0)",
           // importação no F100 (origem 1) e bem importado (CST da COFINS 51: regime 2): classe 08
           "INSERT INTO EFDF100DEMAISDOC (CODIGOEMPRESA, CODIGOESTAB, SEQ, DATALCTOFIS, INDOPER, VALOROPER, CST, CSTCOFINS,"
           " ALIQPIS, ALIQCOFINS, BASECALCULO, VALORPIS, VALORCOFINS, TIPOCREDITO, TIPOCREDITOCOFINS, ORIGEMCREDITO)"
           " VALUES (1, 1, 1, '2024-01-12', 0, 400, 50, 50, 1.65, 7.6, 400, 6.6, 30.4, '4.3.07.01', '4.3.07.01', 1)",
           "INSERT INTO PATBEM (CODIGOEMPRESA, NUMEROBEM, CODIGOESTAB, ORIGEMBEM) VALUES (1, 1, 1, 1)",
           "INSERT INTO PATCFGDACON (CODIGOEMPRESA, NUMEROBEM, DATAINICIAL, TIPODACONCREDITO, TIPOAPURACAO)"
           " VALUES (1, 1, '2020-01-01', 7, 0)",
           "INSERT INTO PATCREDITODACON (CODIGOEMPRESA, CODIGOESTAB, NUMEROBEM, PERIODO, CSTPIS, CSTCOFINS, ALIQPIS,"
           " ALIQCOFINS, QUOTAMENSAL, CREDITOPIS, CREDITOCOFINS) VALUES (1, 1, 1, '2024-01-01', 50, 51, 1.65, 7.6, 60,"
           " 0.99, 4.56)",
           // redução de 1,00 (COFINS 4,00) no 101: o disponível do livro é o crédito menos o ajuste
           "INSERT INTO EFDAJUSTEPISCOFINS (CODIGOEMPRESA, CODIGOESTAB, SEQ, DATALCTOFIS, TIPOAJUSTE, INDAJUSTE, NATAJUSTE,"
           " CODIGOAJUSTE, DESCAJUSTE, ALIQAJUSTEPIS, ALIQAJUSTECOFINS, TIPOAPURACAO)"
           " VALUES (1, 1, 1, '2024-01-20', 0, '0', '4.3.06.101', '4.3.08.06', 'QUEBRA', 1.65, 7.6, 0)",
           "INSERT INTO EFDAJUSTEPISCOFINSDET (CODIGOEMPRESA, CODIGOESTAB, SEQAJUSTE, SEQ, DATAOPERACAO, QUANTIDADE, CSTPIS,"
           " CSTCOFINS, BASECALCULOPISCOFINS, VLRAJUSTEPIS, VLRAJUSTECOFINS) VALUES (1, 1, 1, 1, '2024-01-19', 0, 50, 50,"
           " 60.61, 1, 4)",
           // atividade imobiliária: crédito pronto, PIS e COFINS distintos
           "INSERT INTO EFDUNIDIMOBCUSTOINC (CODIGOEMPRESA, CODIGOESTAB, NUMCADIMOB, COMPRECEB, SEQUENCIA, TIPOCREDITOPIS,"
           " TIPOCREDITO, VLCUSINCPERESC, VLBCCUSINC, VLCREDPISDESC, VLCREDCOFINSDESC, CSTPIS, CSTCOFINS, ALIQPIS,"
           " ALIQCOFINS) VALUES (1, 1, 'A1', '2024-01-15', 1, '4.3.07.05', '4.3.07.05', 300, 250, 4.13, 19, 50, 50, 1.65,"
           " 7.6)"})
    Banco().Executar(sql);

  TMapaAberturaBloco mapa;
  TnFisEFDControleBlocoM controle;
  controle.FConfigBlocoM = Config(TModoGeracao::mgEmpresa, "");
  controle.FLstRegistroM001 = &mapa;
  controle.FDeveProcessarCreditos = true;
  controle.FFormaCarregarProporcao = TFormaCarregarProporcao::fpCarregarBanco;
  ControleOpcaoEFD().Configurar(1, 1, controle.FConfigBlocoM.DataInicial);
  controle.CarregarProporcaoCredito();
  for (int16_t imposto : {15, 16})
    TnFisEFDGeradorBlocoM::Criar<TnFisEFDGeradorM100_M500LctoEFD>(controle, imposto)->ProcessarRegistro();

  // tipo|imposto|código|alíquota/por unidade -> crédito e, por M105 na ordem das fontes (lançamentos,
  // bens, estoque, demais documentos), natureza|CST=base total/base/quantidade
  std::map<std::string, std::string> obtido;
  for (const auto& [tipo, m001] : mapa)
    for (int imposto : {15, 16})
      for (const auto& [k, reg] : imposto == 15 ? m001->FM100List : m001->FM500List) {
        std::string s = fmt::format("{:.2f}", reg->GetVL_CRED());
        for (const auto& [kd, d] : reg->FM105_505List)
          s += fmt::format(" {}={:.2f}/{:.2f}/{:.0f}", kd, d->FVL_BC_TOT, d->GetVL_BC(), d->FQUANT_BC);
        obtido[fmt::format("{}|{}|{}|{:.2f}/{:.2f}", static_cast<int>(tipo), imposto, reg->FCOD_CRED, reg->FALIQ,
                           reg->FALIQ_QUANT)] = s;
      }
  const std::map<std::string, std::string> esperado = {
      {"0|15|101|1.65/0.00", "42.90 01|50=1000.00/1000.00/0 01|54=1000.00/600.00/0 01|56=2000.00/1000.00/0"},
      {"0|15|201|1.65/0.00", "9.90 01|56=2000.00/600.00/0"},
      {"0|15|301|1.65/0.00", "13.20 01|54=1000.00/400.00/0 01|56=2000.00/400.00/0"},
      {"0|15|103|0.00/0.50", "5.00 01|50=0.00/0.00/10"},
      {"0|15|104|1.65/0.00", "1.65 18|50=100.00/100.00/0"},
      {"0|15|108|1.65/0.00", "7.59 11|50=60.00/60.00/0 01|50=400.00/400.00/0"},
      {"0|15|109|0.00/0.00", "4.13"},
      {"0|16|101|7.60/0.00", "197.60 01|50=1000.00/1000.00/0 01|54=1000.00/600.00/0 01|56=2000.00/1000.00/0"},
      {"0|16|201|7.60/0.00", "45.60 01|56=2000.00/600.00/0"},
      {"0|16|301|7.60/0.00", "60.80 01|54=1000.00/400.00/0 01|56=2000.00/400.00/0"},
      {"0|16|103|0.00/2.30", "23.00 01|50=0.00/0.00/10"},
      {"0|16|104|7.60/0.00", "7.60 18|50=100.00/100.00/0"},
      {"0|16|108|7.60/0.00", "30.40 01|50=400.00/400.00/0"},
      {"0|16|208|7.60/0.00", "4.56 11|51=60.00/60.00/0"},
      {"0|16|109|0.00/0.00", "19.00"}};
  EXPECT_EQ(obtido, esperado);

  // Livro de créditos: cada M100/M500 numa só linha, que soma o disponível dos seus registros.
  std::map<const TM100_500CreditoImposto*, int> vistos;
  double soma = 0;
  for (const auto& [k, linha] : controle.GetControleCredito()->GetLstCredito()) {
    double disponivel = 0;
    for (const auto* reg : linha->LstRegM100_500) {
      ++vistos[reg];
      disponivel += reg->GetVL_CRED_DISP();
      EXPECT_EQ(linha->CODCRED, "4.3.06." + reg->FCOD_CRED);
    }
    EXPECT_NEAR(linha->VLCREDAPU, disponivel, 1e-6) << k;
    soma += linha->VLCREDAPU;
  }
  // PIS 84,37 + COFINS 388,56 de crédito, menos as reduções de 1,00 e 4,00
  EXPECT_NEAR(soma, 84.37 + 388.56 - 5, 1e-6);
  EXPECT_EQ(vistos.size(), esperado.size());
  for (const auto& [reg, n] : vistos) EXPECT_EQ(n, 1);
}
