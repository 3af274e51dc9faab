#pragma once
// Todos os textos dos blocos A, C, D e F com o vetor de valores que o carregador usa, para os
// testes que percorrem cada construtor em cada ramo.
#include <functional>
#include <utility>
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
  TParams ValoresReais;  // os que trazem linhas (iguais aos do carregador, salvo nos que abrem com os nulos)
};

// Um texto e o tipo dos seus valores: 'v' estabelecimento e datas; 'n' o carregador abre com os
// nulos e o host roda com 'v'; os demais tipos são de cada bloco.
struct TTextoBloco {
  const char* Nome;
  std::string SQL;
  char Tipo = 'v';
};
template <class F>
std::vector<TCasoBloco> Casos(const std::vector<TTextoBloco>& ATextos, F AValores) {
  std::vector<TCasoBloco> r;
  for (const auto& t : ATextos) {
    auto [carregador, reais] = AValores(t.Tipo);
    r.push_back({t.Nome, t.SQL, std::move(carregador), std::move(reais)});
  }
  return r;
}

inline std::vector<TCasoBloco> CasosBlocoA(const TnParansBlocoA& p) {
  using R = TnArqRepositorioSPEDPisCofinsBlocoA;
  return Casos({{"A100", R::GetSqlA100(p)}, {"A100Aux", R::GetSqlA100Aux(p)}, {"A110", R::GetSqlA110(p)},
                {"A111", R::GetSqlA111(p)}, {"A120", R::GetSqlA120(p)}, {"A170", R::GetSQLA170(p), 'n'}},
               [&](char t) {
                 return std::pair{t == 'n' ? R::GetParamsEstabDataNull(p) : R::GetParamsEstabData(p),
                                  R::GetParamsEstabData(p)};
               });
}

// 'a': F130; 'e': F150 (desde onze meses antes); 'r': F600.
inline std::vector<TCasoBloco> CasosBlocoF(const TnParansBlocoF& p, const TnArqRepositorioSPEDPisCofinsBlocoF& f) {
  using R = TnArqRepositorioSPEDPisCofinsBlocoF;
  return Casos({{"F100", R::GetSqlF100(p)},          {"OBSF100", R::GetSqlOBSF100(p)},
                {"F111", R::GetSqlF111(p)},          {"F120", R::GetSqlF120(p)},
                {"F130", R::GetSqlF130(p), 'a'},     {"F150", R::GetSqlF150(p), 'e'},
                {"F200", R::GetSqlF200(p)},          {"F205", R::GetSqlF205(p)},
                {"F210", R::GetSqlF210(p)},          {"F500", f.GetSqlF500(p)},
                {"F500RegCaixa", R::GetSqlF500RegCaixa(p)}, {"F509", R::GetSqlF509(p)},
                {"F510", R::GetSqlF510(p)},          {"F519", R::GetSqlF519(p)},
                {"F525", f.GetSqlF525(p)},           {"F525RegCaixa", f.GetSqlF525RegCaixa(p)},
                {"F550", f.GetSqlF550(p)},           {"F559", R::GetSqlF559(p)},
                {"F560", R::GetSqlF560(p)},          {"F569", R::GetSqlF569(p)},
                {"F600", R::GetSqlF600(p), 'r'},     {"F700", R::GetSqlF700(p)},
                {"F800", R::GetSqlF800(p)}},
               [&](char t) {
                 const TParams v = t == 'a'   ? R::GetParamsF130(p)
                                   : t == 'e' ? R::GetParamsF150(p)
                                   : t == 'r' ? R::GetParamsF600(p)
                                              : R::GetParamsEstabData(p);
                 return std::pair{v, v};
               });
}

// Bloco C e a gêmea (R escolhe a classe). 'i': impressora (a 1 nos reais); 'f': faixa de notas
// inteira; 'e': só empresa e datas; 'l': os da gêmea (LCO); 'c': o C170, que na classe do banco
// abre com os nulos e na gêmea já com os reais.
template <class R>
std::vector<TCasoBloco> CasosBlocoC(const typename R::TParans& p) {
  return Casos(
      {{"C100", R::GetSqlC100(p)},         {"C110", R::GetSqlC110(p)},         {"C111", R::GetSqlC111(p)},
       {"C120", R::GetSqlC120(p)},         {"C170", R::GetSqlC170(p), 'c'},    {"C175", R::GetSqlC175(p), 'n'},
       {"C180", R::GetSqlC180(p)},         {"C181_185", R::GetSqlC181_185(p), 'l'}, {"C188", R::GetSqlC188(p)},
       {"C190", R::GetSqlC190(p)},         {"C191_195", R::GetSqlC191_195(p)}, {"C198", R::GetSqlC198(p)},
       {"C199", R::GetSqlC199(p)},         {"C380", R::GetSqlC380(p)},         {"C381", R::GetSqlC381(p), 'f'},
       {"C385", R::GetSqlC385(p), 'f'},    {"C395", R::GetSqlC395(p)},         {"C396", R::GetSqlC396(p), 'n'},
       {"C400", R::GetSqlC400(p)},         {"C405", R::GetSqlC405(p), 'i'},    {"C481", R::GetSqlC481(p), 'i'},
       {"C485", R::GetSqlC485(p), 'i'},    {"C489_499", R::GetSqlProcRefC489_499(p), 'e'},
       {"C490", R::GetSqlC490(p)},         {"C491", R::GetSqlC491(p), 'n'},    {"C495", R::GetSqlC495(p), 'n'},
       {"C500", R::GetSqlC500(p)},         {"C501", R::GetSqlC501(p), 'n'},    {"C505", R::GetSqlC505(p), 'n'},
       {"C509", R::GetSqlC509(p)},         {"C600", R::GetSqlC600(p)},         {"C601", R::GetSqlC601(p)},
       {"C605", R::GetSqlC605(p)},         {"C609", R::GetSqlC609(p)},         {"C860", R::GetSqlC860(p)},
       {"C870", R::GetSqlC870(p)},         {"C880", R::GetSqlC880(p)},         {"C890", R::GetSqlC890(p), 'e'}},
      [&](char t) {
        TParams v = R::GetParamsEstabData(p), lco = v;
        if constexpr (R::Memoria) lco = R::GetParamsEstabDataLCO(p);
        switch (t) {
          case 'n': return std::pair{R::GetParamsEstabDataNull(p), v};
          case 'c': return std::pair{R::Memoria ? lco : R::GetParamsEstabDataNull(p), lco};
          case 'l': return std::pair{lco, lco};
          case 'e': return std::pair{R::GetParamsEmpData(p), R::GetParamsEmpData(p)};
          case 'i': v.emplace_back(int64_t{1}); return std::pair{R::GetParamsEstabDataImpNull(p), v};
          case 'f': v.emplace_back(int64_t{0}); v.emplace_back(int64_t{999999999}); return std::pair{v, v};
          default: return std::pair{v, v};
        }
      });
}

inline std::vector<TCasoBloco> CasosBlocoD(const TnParansBlocoD& p) {
  using R = TnArqRepositorioSPEDPisCofinsBlocoD;
  return Casos({{"D100", R::GetSqlD100(p)},      {"D101", R::GetSqlD101(p), 'n'}, {"D105", R::GetSqlD105(p), 'n'},
                {"D111", R::GetSqlD111(p), 'n'}, {"D200", R::GetSqlD200(p)},      {"D201", R::GetSqlD201(p), 'n'},
                {"D205", R::GetSqlD205(p), 'n'}, {"D209", R::GetSqlD209(p), 'n'}, {"D300", R::GetSqlD300(p)},
                {"D309", R::GetSqlD309(p), 'n'}, {"D350", R::GetSqlD350(p)},      {"D500", R::GetSqlD500(p)},
                {"D501", R::GetSqlD501(p), 'n'}, {"D505", R::GetSqlD505(p), 'n'}, {"D509", R::GetSqlD509(p), 'n'},
                {"D600", R::GetSqlD600(p)},      {"D601", R::GetSqlD601(p), 'n'}, {"D605", R::GetSqlD605(p), 'n'},
                {"D609", R::GetSqlD609(p), 'n'}},
               [&](char t) {
                 return std::pair{t == 'n' ? R::GetParamsEstabDataNull(p) : R::GetParamsEstabData(p),
                                  R::GetParamsEstabData(p)};
               });
}

inline std::vector<TCasoBloco> CasosBlocoI(const TnParansBlocoI& p) {
  using R = TnArqRepositorioSPEDPisCofinsBlocoI;
  return Casos({{"MOVESTAB", R::GetSqlMovEstab(p)}, {"I010", R::GetSqlI010(p)}, {"I100", R::GetSqlI100(p)},
                {"I200_I300", R::GetSqlI200_I300(p)}},
               [&](char) { return std::pair{R::GetParams(p), R::GetParams(p)}; });
}

// P200 pelo texto só antes de 2013; depois, os dois textos do P200 em memória ('c': código 2985/1).
inline std::vector<TCasoBloco> CasosBlocoP(const TnParansBlocoP& p) {
  using R = TnArqRepositorioSPEDPisCofinsBlocoP;
  std::vector<TTextoBloco> t = {{"P100", R::GetSqlP100(p)},
                                {"P210", R::GetSqlP210(p)},
                                {"TOTREC", R::GetSqlTotRec(p, false)},
                                {"TOTRECCAIXA", R::GetSqlTotRec(p, true)}};
  if (p.DataFinal < EncodeDate(2013, 1, 1))
    t.push_back({"P200", R::GetSqlP200(p)});
  else
    t.insert(t.end(), {{"P200DEBITOS", R::GetSqlDebitosP200(p), 'c'}, {"P200AJUSTES", R::GetSqlAjustesP200(p)}});
  return Casos(t, [&](char c) {
    TParams v = R::GetParamsEstabData(p);
    if (c == 'c') v.insert(v.end(), {TVariant{int64_t{2985}}, TVariant{int64_t{1}}});
    return std::pair{v, v};
  });
}

// O 1900 segue a opção do F500/F525 do host (detalhado ou consolidado), com e sem caixa.
inline std::vector<TCasoBloco> CasosBloco1(const TnParansBloco1& p, const std::string& AProcessos) {
  using R = TnArqRepositorioSPEDPisCofinsBloco1;
  return Casos({{"1010_1020", R::GetSql1010_1020(p, AProcessos), 'e'},
                {"1011", R::GetSql1011(p, AProcessos)},
                {"1050", R::GetSql1050(p)},
                {"1800", R::GetSql1800(p)},
                {"1900", R::GetSql1900(p, false) + R::GetSql1900NFCanc(p)},
                {"1900CAIXA", R::GetSql1900(p, true) + R::GetSql1900NFCanc(p)},
                {"1900F200", R::GetSql1900UnionF200(p)},
                {"TEMMOV1900", R::GetSqlTemMovReg1900(p)}},
               [&](char t) {
                 const TParams v = t == 'e' ? R::GetParamsEmp(p) : R::GetParamsEmpData(p);
                 return std::pair{v, v};
               });
}
