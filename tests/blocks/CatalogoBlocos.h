#pragma once
// Todos os textos dos blocos A e F com o vetor de valores que o carregador usa, para os
// testes que percorrem cada construtor em cada ramo.
#include <functional>
#include <string>
#include <vector>

#include "blocks/nArqRepositorioSPEDPisCofinsBlocoA_U.h"
#include "blocks/nArqRepositorioSPEDPisCofinsBlocoFConsolidado_U.h"
#include "blocks/nArqRepositorioSPEDPisCofinsBlocoFDetalhado_U.h"

struct TCasoBloco {
  std::string Nome;
  std::string SQL;
  TParams Valores;      // os do carregador
  TParams ValoresReais;  // os que trazem linhas (iguais aos do carregador, salvo no A170)
};

inline std::vector<TCasoBloco> CasosBlocoA(const TnParansBlocoA& p) {
  using R = TnArqRepositorioSPEDPisCofinsBlocoA;
  const TParams v = R::GetParamsEstabData(p);
  return {
      {"A100", R::GetSqlA100(p), v, v},
      {"A100Aux", R::GetSqlA100Aux(p), v, v},
      {"A110", R::GetSqlA110(p), v, v},
      {"A111", R::GetSqlA111(p), v, v},
      {"A120", R::GetSqlA120(p), v, v},
      {"A170", R::GetSQLA170(p), R::GetParamsEstabDataNull(p), v},
  };
}

inline std::vector<TCasoBloco> CasosBlocoF(const TnParansBlocoF& p, const TnArqRepositorioSPEDPisCofinsBlocoF& f) {
  using R = TnArqRepositorioSPEDPisCofinsBlocoF;
  const TParams v = R::GetParamsEstabData(p);
  auto c = [&](const char* nome, std::string sql, TParams valores) {
    return TCasoBloco{nome, std::move(sql), valores, valores};
  };
  return {
      c("F100", R::GetSqlF100(p), v),
      c("OBSF100", R::GetSqlOBSF100(p), v),
      c("F111", R::GetSqlF111(p), v),
      c("F120", R::GetSqlF120(p), v),
      c("F130", R::GetSqlF130(p), R::GetParamsF130(p)),
      c("F150", R::GetSqlF150(p), R::GetParamsF150(p)),
      c("F200", R::GetSqlF200(p), v),
      c("F205", R::GetSqlF205(p), v),
      c("F210", R::GetSqlF210(p), v),
      c("F500", f.GetSqlF500(p), v),
      c("F500RegCaixa", R::GetSqlF500RegCaixa(p), v),
      c("F509", R::GetSqlF509(p), v),
      c("F510", R::GetSqlF510(p), v),
      c("F519", R::GetSqlF519(p), v),
      c("F525", f.GetSqlF525(p), v),
      c("F525RegCaixa", f.GetSqlF525RegCaixa(p), v),
      c("F550", f.GetSqlF550(p), v),
      c("F559", R::GetSqlF559(p), v),
      c("F560", R::GetSqlF560(p), v),
      c("F569", R::GetSqlF569(p), v),
      c("F600", R::GetSqlF600(p), R::GetParamsF600(p)),
      c("F700", R::GetSqlF700(p), v),
      c("F800", R::GetSqlF800(p), v),
  };
}
