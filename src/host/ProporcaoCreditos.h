#pragma once
// Proporção dos créditos por CST (rateio pela receita bruta do período) e a receita por
// CST da extra-apuração.
#include <array>
#include <map>
#include <memory>
#include <string>

#include "host/DataSet.h"
#include "base/DateTime.h"
#include "base/Variant.h"

// Campos de uma proporção por CST. Pares: o valor da receita considerada para o CST e o
// percentual dela sobre a receita que rateia o CST.
enum TnFisPropCredCstCampos : int {
  pcValorRecTribNCum = 0,  // receita tributada no mercado interno, não cumulativa
  pcPercRecTribNCum = 1,
  pcValorRecCum = 2,       // receita do regime cumulativo (só com rateio cumulativo)
  pcPercRecCum = 3,
  pcValorRecNTrib = 4,     // receita não tributada no mercado interno
  pcPercRecNTrib = 5,
  pcValorRecExport = 6,    // receita de exportação
  pcPercRecExport = 7
};
constexpr int QtdCamposPropCredCst = 8;

struct TnFisPropCreditoParans {
  int CodigoEmpresa = 0;
  std::string CodigoEstab;
  TDateTime DataInicial = 0;
  TDateTime DataFinal = 0;
  bool Consolidado = false;  // empresa inteira (modo mgEmpresa)
  int ProporcaoRecCum = 0;   // 0: a receita cumulativa fica fora do rateio

  TnFisPropCreditoParans() = default;
  TnFisPropCreditoParans(int ACodigoEmpresa, std::string ACodigoEstab, TDateTime ADataInicial,
                         TDateTime ADataFinal, bool AConsolidado, int AProporcaoRecCum)
      : CodigoEmpresa(ACodigoEmpresa), CodigoEstab(std::move(ACodigoEstab)),
        DataInicial(ADataInicial), DataFinal(ADataFinal), Consolidado(AConsolidado),
        ProporcaoRecCum(AProporcaoRecCum) {}
};

// Receita bruta do período separada nos quatro grupos do rateio.
struct TReceitaRateio {
  double TributadaNCum = 0;
  double Cumulativa = 0;
  double NaoTributada = 0;
  double Exportacao = 0;
};

using TValoresPropCst = std::array<double, QtdCamposPropCredCst>;

class TnFisProporcaoCreditos {
 public:
  void SetParans(const TnFisPropCreditoParans& AParans) { FParans = AParans; }
  const TnFisPropCreditoParans& GetParans() const { return FParans; }

  // Proporção gravada (PROPORCAOCREDITOCST) do período; sem proporção gravada, calcula.
  void CarregarProporcaoCreditos();
  // Calcula da receita bruta do período (saídas com CST 01 a 09 e demais documentos).
  void ExecutarProporcaoCreditos();
  // Grava a proporção corrente como a do período (ferramenta do host; o módulo não grava).
  void GravarProporcaoCreditos();

  // Valor de um campo (ordinal de TnFisPropCredCstCampos) do CST; CST sem proporção dá 0.
  double GetValorCreditoCst(int ACST, int ACampo) const;
  bool CarregadaDoBanco() const { return FDoBanco; }
  const TReceitaRateio& Receita() const { return FReceita; }
  const std::map<int, TValoresPropCst>& Valores() const { return FValores; }

  // Regra do rateio: percentuais de cada CST de crédito (50 a 56, 60 a 66) dada a receita.
  static std::map<int, TValoresPropCst> CalcularProporcoes(const TReceitaRateio& AReceita,
                                                           bool ARateioCumulativo);

 private:
  TnFisPropCreditoParans FParans;
  TReceitaRateio FReceita;
  std::map<int, TValoresPropCst> FValores;
  bool FDoBanco = false;
};

class TnFisPropCreditoRepositorio {
 public:
  // Receita do período por CST, tipo de débito e alíquotas, com as colunas CDSITUATRIBUT,
  // TIPODEBITO, RECEITAPISCOFINS, ALIQPIS e ALIQCOFINS. AParams = [empresa, início, fim].
  // AReceitaEnqExclusaoBC 1 soma os demais documentos (EFDF100DEMAISDOC) às notas;
  // AIncidenciaCST 1 conta os CSTs 01 a 09, senão só os tributados (01, 02, 03, 05).
  static void CarregarProporcaoReceita(std::unique_ptr<TDataSet>& ADataSet, const TParams& AParams,
                                       const std::string& ACodigoEstab, int AReceitaEnqExclusaoBC,
                                       int AIncidenciaCST);
  static std::string GetSqlProporcaoReceita(const std::string& ACodigoEstab,
                                            int AReceitaEnqExclusaoBC, int AIncidenciaCST);
};
