#pragma once
// Todos os textos dos blocos A, C, D e F com o vetor de valores que o carregador usa, para os
// testes que percorrem cada construtor em cada ramo.
#include <functional>
#include <string>
#include <vector>

#include "blocks/nArqRepositorioSPEDPisCofinsBlocoA_U.h"
#include "blocks/nArqRepositorioSPEDPisCofinsBlocoCMemoria_U.h"
#include "blocks/nArqRepositorioSPEDPisCofinsBlocoC_U.h"
#include "blocks/nArqRepositorioSPEDPisCofinsBlocoD_U.h"
#include "blocks/nArqRepositorioSPEDPisCofinsBlocoI_U.h"
#include "blocks/nArqRepositorioSPEDPisCofinsBlocoP_U.h"
#include "blocks/nArqRepositorioSPEDPisCofinsBloco1_U.h"
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

// Bloco C e a gêmea (R escolhe a classe). Os valores reais das impressoras usam a impressora 1;
// os do C381/C385 cobrem toda a faixa de notas.
template <class R>
std::vector<TCasoBloco> CasosBlocoC(const typename R::TParans& p) {
  const TParams v = R::GetParamsEstabData(p);
  const TParams nulo = R::GetParamsEstabDataNull(p);
  TParams imp = v;
  imp.emplace_back(int64_t{1});
  TParams faixa = v;
  faixa.emplace_back(int64_t{0});
  faixa.emplace_back(int64_t{999999999});
  TParams lco = v;
  if constexpr (R::Memoria) lco = R::GetParamsEstabDataLCO(p);
  auto c = [](const char* nome, std::string sql, TParams carregador, TParams reais) {
    return TCasoBloco{nome, std::move(sql), std::move(carregador), std::move(reais)};
  };
  return {
      c("C100", R::GetSqlC100(p), v, v),
      c("C110", R::GetSqlC110(p), v, v),
      c("C111", R::GetSqlC111(p), v, v),
      c("C120", R::GetSqlC120(p), v, v),
      c("C170", R::GetSqlC170(p), R::Memoria ? lco : nulo, lco),
      c("C175", R::GetSqlC175(p), nulo, v),
      c("C180", R::GetSqlC180(p), v, v),
      c("C181_185", R::GetSqlC181_185(p), lco, lco),
      c("C188", R::GetSqlC188(p), v, v),
      c("C190", R::GetSqlC190(p), v, v),
      c("C191_195", R::GetSqlC191_195(p), v, v),
      c("C198", R::GetSqlC198(p), v, v),
      c("C199", R::GetSqlC199(p), v, v),
      c("C380", R::GetSqlC380(p), v, v),
      c("C381", R::GetSqlC381(p), faixa, faixa),
      c("C385", R::GetSqlC385(p), faixa, faixa),
      c("C395", R::GetSqlC395(p), v, v),
      c("C396", R::GetSqlC396(p), nulo, v),
      c("C400", R::GetSqlC400(p), v, v),
      c("C405", R::GetSqlC405(p), R::GetParamsEstabDataImpNull(p), imp),
      c("C481", R::GetSqlC481(p), R::GetParamsEstabDataImpNull(p), imp),
      c("C485", R::GetSqlC485(p), R::GetParamsEstabDataImpNull(p), imp),
      c("C489_499", R::GetSqlProcRefC489_499(p), R::GetParamsEmpData(p), R::GetParamsEmpData(p)),
      c("C490", R::GetSqlC490(p), v, v),
      c("C491", R::GetSqlC491(p), nulo, v),
      c("C495", R::GetSqlC495(p), nulo, v),
      c("C500", R::GetSqlC500(p), v, v),
      c("C501", R::GetSqlC501(p), nulo, v),
      c("C505", R::GetSqlC505(p), nulo, v),
      c("C509", R::GetSqlC509(p), v, v),
      c("C600", R::GetSqlC600(p), v, v),
      c("C601", R::GetSqlC601(p), v, v),
      c("C605", R::GetSqlC605(p), v, v),
      c("C609", R::GetSqlC609(p), v, v),
      c("C860", R::GetSqlC860(p), v, v),
      c("C870", R::GetSqlC870(p), v, v),
      c("C880", R::GetSqlC880(p), v, v),
      c("C890", R::GetSqlC890(p), R::GetParamsEmpData(p), R::GetParamsEmpData(p)),
  };
}

inline std::vector<TCasoBloco> CasosBlocoD(const TnParansBlocoD& p) {
  using R = TnArqRepositorioSPEDPisCofinsBlocoD;
  const TParams v = R::GetParamsEstabData(p);
  const TParams nulo = R::GetParamsEstabDataNull(p);
  return {
      {"D100", R::GetSqlD100(p), v, v},   {"D101", R::GetSqlD101(p), nulo, v}, {"D105", R::GetSqlD105(p), nulo, v},
      {"D111", R::GetSqlD111(p), nulo, v}, {"D200", R::GetSqlD200(p), v, v},   {"D201", R::GetSqlD201(p), nulo, v},
      {"D205", R::GetSqlD205(p), nulo, v}, {"D209", R::GetSqlD209(p), nulo, v}, {"D300", R::GetSqlD300(p), v, v},
      {"D309", R::GetSqlD309(p), nulo, v}, {"D350", R::GetSqlD350(p), v, v},   {"D500", R::GetSqlD500(p), v, v},
      {"D501", R::GetSqlD501(p), nulo, v}, {"D505", R::GetSqlD505(p), nulo, v}, {"D509", R::GetSqlD509(p), nulo, v},
      {"D600", R::GetSqlD600(p), v, v},   {"D601", R::GetSqlD601(p), nulo, v}, {"D605", R::GetSqlD605(p), nulo, v},
      {"D609", R::GetSqlD609(p), nulo, v},
  };
}

inline std::vector<TCasoBloco> CasosBlocoI(const TnParansBlocoI& p) {
  using R = TnArqRepositorioSPEDPisCofinsBlocoI;
  const TParams v = R::GetParams(p);
  return {{"MOVESTAB", R::GetSqlMovEstab(p), v, v},
          {"I010", R::GetSqlI010(p), v, v},
          {"I100", R::GetSqlI100(p), v, v},
          {"I200_I300", R::GetSqlI200_I300(p), v, v}};
}

// P200 pelo texto só antes de 2013; depois, os dois textos do P200 em memória (código 2985/1).
inline std::vector<TCasoBloco> CasosBlocoP(const TnParansBlocoP& p) {
  using R = TnArqRepositorioSPEDPisCofinsBlocoP;
  const TParams v = R::GetParamsEstabData(p);
  TParams cod = v;
  cod.emplace_back(int64_t{2985});
  cod.emplace_back(int64_t{1});
  std::vector<TCasoBloco> r = {{"P100", R::GetSqlP100(p), v, v},
                               {"P210", R::GetSqlP210(p), v, v},
                               {"TOTREC", R::GetSqlTotRec(p, false), v, v},
                               {"TOTRECCAIXA", R::GetSqlTotRec(p, true), v, v}};
  if (p.DataFinal < EncodeDate(2013, 1, 1)) {
    r.push_back({"P200", R::GetSqlP200(p), v, v});
  } else {
    r.push_back({"P200DEBITOS", R::GetSqlDebitosP200(p), cod, cod});
    r.push_back({"P200AJUSTES", R::GetSqlAjustesP200(p), v, v});
  }
  return r;
}

// O 1900 segue a opção do F500/F525 do host (detalhado ou consolidado), com e sem caixa.
inline std::vector<TCasoBloco> CasosBloco1(const TnParansBloco1& p, const std::string& AProcessos) {
  using R = TnArqRepositorioSPEDPisCofinsBloco1;
  const TParams v = R::GetParamsEmpData(p);
  return {{"1010_1020", R::GetSql1010_1020(p, AProcessos), R::GetParamsEmp(p), R::GetParamsEmp(p)},
          {"1011", R::GetSql1011(p, AProcessos), v, v},
          {"1050", R::GetSql1050(p), v, v},
          {"1800", R::GetSql1800(p), v, v},
          {"1900", R::GetSql1900(p, false) + R::GetSql1900NFCanc(p), v, v},
          {"1900CAIXA", R::GetSql1900(p, true) + R::GetSql1900NFCanc(p), v, v},
          {"1900F200", R::GetSql1900UnionF200(p), v, v},
          {"TEMMOV1900", R::GetSqlTemMovReg1900(p), v, v}};
}
