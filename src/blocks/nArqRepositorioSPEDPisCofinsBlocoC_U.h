#pragma once
// Bloco C (documentos de mercadorias): textos SQL e carga dos registros C100 a C890.
// A classe do banco e a gêmea em memória compartilham os textos por um modelo com dois
// parâmetros (o registro de parâmetros e se é a gêmea); as diferenças ficam em if constexpr.
#include <memory>
#include <string>

#include "blocks/nArqRepositorioSPEDPisCofinsBase_U.h"

template <class TParansC, bool AMemoria>
class TnArqRepositorioSPEDPisCofinsBlocoCTextos : public TnArqRepositorioSPEDPisCofinsBase {
 public:
  using TParans = TParansC;
  static constexpr bool Memoria = AMemoria;

  // Limites das listas de CFOP do host (índice mais alto de cada uma).
  static constexpr int kHighTransferencia = 72;
  static constexpr int kHighDevolucao = 87;
  static constexpr int kHighEnergiaEletrica = 13;
  static constexpr int kHighEnergiaNoEstado = 6;
  static constexpr int kHighEnergiaForaEstado = 6;

  // Fragmentos.
  static std::string GetFiltroCFOP(const std::string& AColuna, bool ATruncar);
  static std::string GetIndexKorvelC170(const TParans& AParans);
  static std::string GetIndexKorvelC170CFOP(const TParans& AParans);
  static std::string GetIndexKorvelC505_501(const TParans& AParans);

  // Textos dos registros.
  static std::string GetSqlC100(const TParans& AParans);
  static std::string GetSqlC110(const TParans& AParans);
  static std::string GetSqlC111(const TParans& AParans);
  static std::string GetSqlC120(const TParans& AParans);
  static std::string GetSqlC170(const TParans& AParans);
  static std::string GetSqlC175(const TParans& AParans);
  static std::string GetSqlC180(const TParans& AParans);
  static std::string GetSqlC181_185(const TParans& AParans);
  static std::string GetSqlC188(const TParans& AParans);
  static std::string GetSqlC190(const TParans& AParans);
  static std::string GetSqlC191_195(const TParans& AParans);
  static std::string GetSqlC198(const TParans& AParans);
  static std::string GetSqlC199(const TParans& AParans);
  static std::string GetSqlC380(const TParans& AParans);
  static std::string GetSqlC381(const TParans& AParans);
  static std::string GetSqlC385(const TParans& AParans);
  static std::string GetSqlC395(const TParans& AParans);
  static std::string GetSqlC396(const TParans& AParans);
  static std::string GetSqlC400(const TParans& AParans);
  static std::string GetSqlC405(const TParans& AParans);
  static std::string GetSqlC481(const TParans& AParans);
  static std::string GetSqlC485(const TParans& AParans);
  static std::string GetSqlProcRefC489_499(const TParans& AParans);
  static std::string GetSqlC490(const TParans& AParans);
  static std::string GetSqlC491(const TParans& AParans);
  static std::string GetSqlC495(const TParans& AParans);
  static std::string GetSqlC500(const TParans& AParans);
  static std::string GetSqlC501(const TParans& AParans);
  static std::string GetSqlC505(const TParans& AParans);
  static std::string GetSqlC509(const TParans& AParans);
  static std::string GetSqlC600(const TParans& AParans);
  static std::string GetSqlC601(const TParans& AParans);
  static std::string GetSqlC605(const TParans& AParans);
  static std::string GetSqlC609(const TParans& AParans);
  static std::string GetSqlC860(const TParans& AParans);
  static std::string GetSqlC870(const TParans& AParans);
  static std::string GetSqlC880(const TParans& AParans);
  static std::string GetSqlC890(const TParans& AParans);

  // Vetores de valores.
  static TParams GetParamsEstabData(const TParans& p) { return TnArqRepositorioSPEDPisCofinsBase::GetParamsEstabData(p); }
  static TParams GetParamsEstabDataNull(const TParans& p) {
    return TnArqRepositorioSPEDPisCofinsBase::GetParamsEstabDataNull(p);
  }
  static TParams GetParamsEmpData(const TParans& p) { return TnArqRepositorioSPEDPisCofinsBase::GetParamsEmpData(p); }
  static TParams GetParamsEstabDataImpNull(const TParans& p) {
    return TnArqRepositorioSPEDPisCofinsBase::GetParamsEstabDataImpNull(p);
  }

  // Pontos de entrada (o C170 é de cada classe).
  static void CarregarDadosC100(TDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC110(TnClientDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC111(TnClientDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC120(TnClientDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC175(TnClientDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC180(TDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC181_185(TnClientDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC188(TnClientDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC190(TDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC191_195(TnClientDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC198(TnClientDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC199(TnClientDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC380(TDataSet*& ADataSet, const TParans& AParans);
  // Valores do chamador: empresa, (estab,) período e a faixa de notas (:pNumeroNF, :pNumeroNFFinal).
  static void CarregarDadosC381(TDataSet*& ADataSet, const TParans& AParans, const TParams& AValores);
  static void CarregarDadosC385(TDataSet*& ADataSet, const TParans& AParans, const TParams& AValores);
  static void CarregarDadosC395(TDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC396(TnClientDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC400(TDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC405(TDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC481(TnClientDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC485(TnClientDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC489_499(TnClientDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC490(TDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC491(TDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC495(TDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC500(TDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC501(TnClientDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC505(TnClientDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC509(TnClientDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC600(TDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC601(TnClientDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC605(TnClientDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC609(TnClientDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC860(TnClientDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC870(TnClientDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC880(TnClientDataSet*& ADataSet, const TParans& AParans);
  static void CarregarDadosC890(TnClientDataSet*& ADataSet, const TParans& AParans);
};

extern template class TnArqRepositorioSPEDPisCofinsBlocoCTextos<TnParansBlocoC, false>;
extern template class TnArqRepositorioSPEDPisCofinsBlocoCTextos<nArqRepositorioSPEDPisCofinsBlocoCMemoria_U::TnParansBlocoC,
                                                             true>;

class TnArqRepositorioSPEDPisCofinsBlocoC : public TnArqRepositorioSPEDPisCofinsBlocoCTextos<TnParansBlocoC, false> {
 public:
  // Abre com os valores nulos: o chamador recebe colunas e nenhuma linha.
  static void CarregarDadosC170(TnClientDataSet*& ADataSet, const TnParansBlocoC& AParans);
};
