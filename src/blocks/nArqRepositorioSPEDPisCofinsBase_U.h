#pragma once
// Moldura comum dos repositórios de blocos: vetores de valores dos parâmetros e abertura
// das consultas pelo cache de SQL do host. Classe sem estado; tudo é estático.
#include <memory>
#include <string>
#include <type_traits>

#include "blocks/nArqRepositorioSPEDPisCofinsParans_U.h"
#include "host/DataSet.h"
#include "base/Variant.h"

class TnClientDataSet;

class TnArqRepositorioSPEDPisCofinsBase {
 public:
  // Estabelecimento como inteiro: o texto sem brancos, 0 quando não é número.
  static int64_t EstabComoInteiro(const std::string& ACodigoEstab);
  // Pergunta ao host se o código é uma lista de inclusão (então o filtro não leva parâmetro).
  static bool EhEstabInclusionHost(const std::string& ACodigoEstab);

  // [empresa, (estab,) início, fim]; o estabelecimento só entra quando não é lista.
  static TParams MontarParamsEstabData(int32_t AEmpresa, const std::string& AEstab, TDateTime AInicio,
                                       TDateTime AFim);
  // Mesma forma, valores que não casam com linha nenhuma.
  static TParams MontarParamsEstabDataNull(const std::string& AEstab);

  template <class P>
  static TParams GetParamsEstabData(const P& AParans) {
    return MontarParamsEstabData(AParans.CodigoEmpresa, EstabTexto(AParans.CodigoEstab), AParans.DataInicial,
                                 AParans.DataFinal);
  }
  template <class P>
  static TParams GetParamsEstabDataNull(const P& AParans) {
    return MontarParamsEstabDataNull(EstabTexto(AParans.CodigoEstab));
  }
  // Sem estabelecimento (blocos C e D).
  template <class P>
  static TParams GetParamsEmpData(const P& AParans) {
    return {TVariant{int64_t{AParans.CodigoEmpresa}}, VarDate(DateOf(AParans.DataInicial)),
            VarDate(DateOf(AParans.DataFinal))};
  }
  // Nulo com um -1 a mais no fim (bloco C).
  template <class P>
  static TParams GetParamsEstabDataImpNull(const P& AParans) {
    TParams v = GetParamsEstabDataNull(AParans);
    v.emplace_back(int64_t{-1});
    return v;
  }

  // Abre pelo cache de SQL do host, que é o dono do dataset (o chamador só o lê e não o
  // libera). O registro não é usado aqui, só segue a assinatura. Em erro o ponteiro fica
  // como estava.
  template <class P>
  static void CarregarDados(TDataSet*& ADataSet, const P& /*AParans*/, const std::string& ASQL,
                            const TParams& AValores) {
    ADataSet = ExecutarNoCache(ASQL, AValores);
  }
  template <class P>
  static void CarregarDados(TnClientDataSet*& ADataSet, const P& /*AParans*/, const std::string& ASQL,
                            const TParams& AValores) {
    ADataSet = ExecutarNoCacheCliente(ASQL, AValores);
  }

  // Partes não genéricas de CarregarDados (definidas no .cpp, onde o cache é conhecido).
  static TDataSet* ExecutarNoCache(const std::string& ASQL, const TParams& AValores);
  static TnClientDataSet* ExecutarNoCacheCliente(const std::string& ASQL, const TParams& AValores);
  // Converte o resultado do cache para dataset cliente; outra classe é erro.
  static TnClientDataSet* ComoCliente(TDataSet* ADataSet);

  // "ENT" quando o movimento é 0 (entradas), senão "SAI".
  static const char* Sufixo(int ATipoMovimento) { return ATipoMovimento == 0 ? "ENT" : "SAI"; }

 private:
  static const std::string& EstabTexto(const std::string& s) { return s; }
  static std::string EstabTexto(int32_t n) { return std::to_string(n); }
};
