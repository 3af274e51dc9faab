#pragma once
// Bloco A (serviços): textos SQL e carga dos registros A100, A110, A111, A120 e A170.
#include <memory>
#include <string>

#include "blocks/nArqRepositorioSPEDPisCofinsBase_U.h"

class TnArqRepositorioSPEDPisCofinsBlocoA : public TnArqRepositorioSPEDPisCofinsBase {
 public:
  using TParans = TnParansBlocoA;

  // Fragmentos comuns.
  static std::string GetFiltroCDModelo(const TnParansBlocoA& AParans);
  static std::string GetIndexKorvelCDModelo(const TnParansBlocoA& AParans);
  static std::string GetFiltroTipoImpostoISS(const TnParansBlocoA& AParans);
  static std::string GetFiltroIgnorarConjugadas(const TnParansBlocoA& AParans);
  static std::string GetFiltroSqlA100(const TnParansBlocoA& AParans);
  static std::string GetIndexKorvelA170(const TnParansBlocoA& AParans);

  // Textos dos registros.
  static std::string GetSqlA100(const TnParansBlocoA& AParans);
  static std::string GetSqlA100Aux(const TnParansBlocoA& AParans);
  static std::string GetSqlA110(const TnParansBlocoA& AParans);
  static std::string GetSqlA111(const TnParansBlocoA& AParans);
  static std::string GetSqlA120(const TnParansBlocoA& AParans);
  static std::string GetSQLA170(const TnParansBlocoA& AParans);

  static TParams GetParamsEstabData(const TnParansBlocoA& AParans) {
    return TnArqRepositorioSPEDPisCofinsBase::GetParamsEstabData(AParans);
  }
  static TParams GetParamsEstabDataNull(const TnParansBlocoA& AParans) {
    return TnArqRepositorioSPEDPisCofinsBase::GetParamsEstabDataNull(AParans);
  }

  // Pontos de entrada: devolvem o dataset aberto (do cache de SQL do host).
  static void CarregarDadosA100(TDataSet*& ADataSet, const TnParansBlocoA& AParans);
  static void CarregarDadosA100Aux(TnClientDataSet*& ADataSet, const TnParansBlocoA& AParans);
  static void CarregarDadosA110(TnClientDataSet*& ADataSet, const TnParansBlocoA& AParans);
  static void CarregarDadosA111(TnClientDataSet*& ADataSet, const TnParansBlocoA& AParans);
  static void CarregarDadosA120(TnClientDataSet*& ADataSet, const TnParansBlocoA& AParans);
  // Abre com os valores nulos: o chamador recebe colunas e nenhuma linha.
  static void CarregarDadosA170(TnClientDataSet*& ADataSet, const TnParansBlocoA& AParans);
};
