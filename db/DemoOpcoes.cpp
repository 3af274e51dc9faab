// Linhas de opção das empresas de demonstração.
//   pdNaoCumulativo: optante da EFD desde janeiro do ano anterior, incidência não cumulativa
//     (1), compensação deduções -> créditos -> retidos (os créditos de meses anteriores cobrem
//     quase toda a contribuição; com as deduções por último elas passariam do que resta),
//     tabela de ordem de compensação 1,
//     créditos mais antigos primeiro; lucro real não cumulativo; apura IPI.
//   pdPresumido: sem opção da EFD (segue o caminho dos lançamentos); lucro presumido.
//   pdMisto: optante da EFD; até o mês anterior à competência só não cumulativo, a partir
//     dela incidência 3 com rateio pela receita cumulativa e controle de diferimento
//     (a troca no meio do ano mostra a opção em vigor por data); lucro real misto (2).
//   pdCumulativoDiferido: optante da EFD só cumulativa (incidência 2, regime 2) com controle de
//     diferimento, para que o M230 e o M300 saiam dos totais; lucro presumido.
//   pdFinanceira: optante da EFD só cumulativa, sem diferimento; lucro real (obrigatório para
//     bancos) com regime cumulativo (3), que o bloco I usa para escolher a tabela de deduções.
//   pdLucroRealSemEFD: sem opção da EFD; lucro real não cumulativo (1).
// Em todas: PIS cumulativo recolhido sob 8109-02 (o código do cadastro de impostos e dos totais
// apurados), códigos padrão da contribuição sobre a receita e, uma vez por banco, a tabela
// pública de CFOP e as tabelas de códigos do SPED usadas pela demonstração.
#include "db/Demo.h"

#include <string>

#include "db/demo/DemoEmpresa.h"
#include "host/CFOP.h"

namespace {

using demo::I;
using demo::T;

void OpcaoEFD(TDatabase& ABanco, int AEmpresa, TDateTime AData, int AIncidencia, int ARateioCum,
              bool ADiferimento, const char* AOrdem = "1;2;3") {
  ABanco.Executar("INSERT INTO OPCAOEFD (CODIGOEMPRESA, CODIGOESTAB, DATAEFD, REGIMEAPU) "
                  "VALUES (:CODIGOEMPRESA, 1, :DATAEFD, 2)",
                  {I(AEmpresa), VarDate(AData)});
  ABanco.Executar(
      "INSERT INTO OPCAOEFDCOMPL (CODIGOEMPRESA, CODIGOESTAB, DATAEFD, OPTANTEEFD, INCTRIBUTARIA, "
      "ORDEMCOMPENSACAO, ORDEMCOMPCREDEFD, CODTABCOMPCRED, INDCREDAGRO, VALIDARORIGEMCOMPRET, "
      "FORMACONTROLERETIDOS, CONTROLADIFERIMENTO, GERACAOF500F525, RECEITAENQEXCLUSAOBC, INCIDENCIACST, "
      "PROPORCAORECCUM, CSTAJUSTECREDITO, CODIGOIMPOSTOPISCUM, VARIACAOPISCUM) VALUES (:CODIGOEMPRESA, 1, :DATAEFD, 1, "
      ":INCTRIBUTARIA, :ORDEM, 1, 1, 0, 1, 1, :CONTROLADIFERIMENTO, 0, 0, 0, :PROPORCAORECCUM, 56, 8109, 2)",
      {I(AEmpresa), VarDate(AData), I(AIncidencia), T(AOrdem), I(ADiferimento ? 1 : 0), I(ARateioCum)});
}

void TabelasCodigos(TDatabase& ABanco) {
  auto ds = ABanco.Abrir("SELECT COUNT(*) FROM TABELASPED");
  if (!ds->Eof() && ds->Fields(0).AsInteger() > 0) return;
  struct TCodigo {
    const char* Chave;
    const char* Descricao;
  };
  const TCodigo codigos[] = {
      {"4.3.05.01", "Contribuição não cumulativa apurada a alíquota básica"},
      {"4.3.05.02", "Contribuição não cumulativa apurada a alíquotas diferenciadas"},
      {"4.3.05.03", "Contribuição não cumulativa apurada a alíquota por unidade de medida de produto"},
      {"4.3.05.04", "Contribuição não cumulativa apurada a alíquota básica - atividade imobiliária"},
      {"4.3.05.51", "Contribuição cumulativa apurada a alíquota básica"},
      {"4.3.05.52", "Contribuição cumulativa apurada a alíquotas diferenciadas"},
      {"4.3.05.53", "Contribuição cumulativa apurada a alíquota por unidade de medida de produto"},
      {"4.3.05.54", "Contribuição cumulativa apurada a alíquota básica - atividade imobiliária"},
      {"4.3.06.101", "Crédito vinculado à receita tributada no mercado interno - alíquota básica"},
      {"4.3.06.102", "Crédito vinculado à receita tributada no mercado interno - alíquotas diferenciadas"},
      {"4.3.06.201", "Crédito vinculado à receita não tributada no mercado interno - alíquota básica"},
      {"4.3.06.301", "Crédito vinculado à receita de exportação - alíquota básica"},
      {"4.3.07.01", "Aquisição de bens para revenda"},
      {"4.3.07.02", "Aquisição de bens utilizados como insumo"},
      {"4.3.07.04", "Energia elétrica e térmica"},
      {"4.3.07.09", "Bens do ativo imobilizado - depreciação e amortização"},
      {"4.3.07.10", "Bens do ativo imobilizado - valor de aquisição"},
      {"4.3.07.13", "Outras operações com direito a crédito"},
      {"4.3.07.18", "Estoque de abertura de bens"},
      {"4.3.08.06", "Ajuste de crédito - devolução de vendas"},
  };
  for (const auto& c : codigos) {
    std::string chave = c.Chave;
    auto p = chave.rfind('.');
    ABanco.Executar("INSERT INTO TABELASPED (CODIGOTABSPED, TABELA, CODIGO, DESCRICAO) "
                    "VALUES (:CODIGOTABSPED, :TABELA, :CODIGO, :DESCRICAO)",
                    {T(chave), T(chave.substr(0, p)), T(chave.substr(p + 1)), T(c.Descricao)});
  }
  PopularTabelaCFOP(ABanco);
}

}  // namespace

void GerarOpcoesDemo(TDatabase& ABanco, int ACodigoEmpresa, TPerfilDemo APerfil, TDateTime AInicioCompetencia) {
  TabelasCodigos(ABanco);
  TDateTime inicio = StartOfTheMonth(AInicioCompetencia);
  TDateTime anoAnterior = EncodeDate(YearOf(inicio) - 1, 1, 1);
  const char* sqlLucroReal =
      "INSERT INTO OPCAOLUCROREAL (CODIGOEMPRESA, DATAOPCAO, APURALUCROREAL, REGIMEAPURACAO, TIPOAPURACAO, "
      "APURAPIS, APURACOFINS, CSTAJUSTECREDITO, PROPORCAORECCUM) "
      "VALUES (:CODIGOEMPRESA, :DATAOPCAO, 1, :REGIMEAPURACAO, 1, 1, 1, 56, :PROPORCAORECCUM)";
  switch (APerfil) {
    case TPerfilDemo::pdNaoCumulativo:
      OpcaoEFD(ABanco, ACodigoEmpresa, anoAnterior, 1, 0, false, "3;1;2");
      ABanco.Executar(sqlLucroReal, {I(ACodigoEmpresa), VarDate(anoAnterior), I(1), I(0)});
      ABanco.Executar("INSERT INTO OPCAOIPI (CODIGOEMPRESA, CODIGOESTAB, DATAINICIAL, APURAIPI) "
                      "VALUES (:CODIGOEMPRESA, 1, :DATAINICIAL, 1)",
                      {I(ACodigoEmpresa), VarDate(anoAnterior)});
      break;
    case TPerfilDemo::pdPresumido:
      ABanco.Executar("INSERT INTO OPCAOLUCROPRESUMIDO (CODIGOEMPRESA, DATAOPCAO, APURALUCROPRESUMIDO, "
                      "TIPOAPURACAO, APURAPIS, APURACOFINS) VALUES (:CODIGOEMPRESA, :DATAOPCAO, 1, 2, 1, 1)",
                      {I(ACodigoEmpresa), VarDate(anoAnterior)});
      break;
    case TPerfilDemo::pdMisto:
      OpcaoEFD(ABanco, ACodigoEmpresa, anoAnterior, 1, 0, false);
      if (inicio > anoAnterior) OpcaoEFD(ABanco, ACodigoEmpresa, inicio, 3, 1, true);
      ABanco.Executar(sqlLucroReal, {I(ACodigoEmpresa), VarDate(anoAnterior), I(2), I(1)});
      break;
    case TPerfilDemo::pdCumulativoDiferido:
      OpcaoEFD(ABanco, ACodigoEmpresa, anoAnterior, 2, 0, true);
      ABanco.Executar("INSERT INTO OPCAOLUCROPRESUMIDO (CODIGOEMPRESA, DATAOPCAO, APURALUCROPRESUMIDO, "
                      "TIPOAPURACAO, APURAPIS, APURACOFINS) VALUES (:CODIGOEMPRESA, :DATAOPCAO, 1, 2, 1, 1)",
                      {I(ACodigoEmpresa), VarDate(anoAnterior)});
      break;
    case TPerfilDemo::pdFinanceira:
      OpcaoEFD(ABanco, ACodigoEmpresa, anoAnterior, 2, 0, false);
      ABanco.Executar(sqlLucroReal, {I(ACodigoEmpresa), VarDate(anoAnterior), I(3), I(0)});
      break;
    case TPerfilDemo::pdLucroRealSemEFD:
      ABanco.Executar(sqlLucroReal, {I(ACodigoEmpresa), VarDate(anoAnterior), I(1), I(0)});
      break;
  }
  ABanco.Executar("INSERT INTO OPCAOCONTRIBPATRONAL (CODIGOEMPRESA, DATAINICIAL, CODIGOIMPOSTOTIC, "
                  "VARIACAOIMPOSTOTIC, CODIGOIMPOSTOOUTROS, VARIACAOIMPOSTOOUTROS, CODIGOIMPOSTOCOMERCIO, "
                  "VARIACAOIMPOSTOCOMERCIO) VALUES (:CODIGOEMPRESA, :DATAINICIAL, 2985, 1, 2991, 1, 2991, 2)",
                  {I(ACodigoEmpresa), VarDate(anoAnterior)});
}
