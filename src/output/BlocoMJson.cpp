#include "output/BlocoMJson.h"

#include "output/CamposBlocoM.h"

using nlohmann::ordered_json;

namespace {

ordered_json Registro(const std::string& ARegistro, const TCampos& ACampos) {
  const auto& layout = LayoutRegistro(ARegistro);
  if (layout.Campos.size() != ACampos.size())
    throw EPisco("Registro " + ARegistro + " com " + std::to_string(ACampos.size()) +
                 " campos; o leiaute tem " + std::to_string(layout.Campos.size()));
  ordered_json obj = ordered_json::object();
  obj["REG"] = ARegistro;
  for (size_t i = 0; i < ACampos.size(); ++i) {
    const auto& valor = ACampos[i];
    auto& destino = obj[layout.Campos[i].Campo];
    switch (valor.Tipo) {
      case TValorCampo::TTipo::Vazio:
        destino = nullptr;
        break;
      case TValorCampo::TTipo::Texto:
        destino = valor.Texto;
        break;
      case TValorCampo::TTipo::Inteiro:
        destino = valor.Inteiro;
        break;
      case TValorCampo::TTipo::Decimal:
        destino = ValorArredondado(valor, layout.Campos[i]);
        break;
    }
  }
  return obj;
}

ordered_json Creditos(const TM100_500CreditoImpostoList& ALista, const TNomesBlocoM& N) {
  ordered_json lista = ordered_json::array();
  for (const auto* cred : ALista.GetListaOrdenada()) {
    ordered_json obj = Registro(N.M100, CamposM100(*cred));
    const bool qtd = PorQuantidade(*cred);
    auto& m105 = obj[N.M105] = ordered_json::array();
    for (const auto* det : cred->FM105_505List.GetListaOrdenada())
      m105.push_back(Registro(N.M105, CamposM105(*det, qtd)));
    auto& m110 = obj[N.M110] = ordered_json::array();
    for (const auto* aj : cred->FM110_510List.GetListaOrdenada()) {
      ordered_json ajuste = Registro(N.M110, CamposM110(*aj));
      auto& m115 = ajuste[N.M115] = ordered_json::array();
      for (const auto* det : aj->FM115_515_225_625List.GetListaOrdenada())
        m115.push_back(Registro(N.M115, CamposM115(*det)));
      m110.push_back(std::move(ajuste));
    }
    lista.push_back(std::move(obj));
  }
  return lista;
}

ordered_json Contribuicao(const TM200_600ConsolidContribImposto& AM200, const TNomesBlocoM& N) {
  ordered_json obj = Registro(N.M200, CamposM200(AM200));
  auto& m205 = obj[N.M205] = ordered_json::array();
  for (const auto* rec : AM200.FM205_605List.GetListaOrdenada())
    m205.push_back(Registro(N.M205, CamposM205(*rec)));
  auto& m210 = obj[N.M210] = ordered_json::array();
  for (const auto* det : AM200.FM210_610List.GetListaOrdenada()) {
    ordered_json d = Registro(N.M210, CamposM210(*det));
    d[N.M211] = det->FM211_611 ? Registro(N.M211, CamposM211(*det->FM211_611)) : ordered_json();
    auto& m215 = d[N.M215] = ordered_json::array();
    for (const auto* aj : det->FM215_615List.GetListaOrdenada())
      m215.push_back(Registro(N.M215, CamposM215(*aj)));
    auto& m220 = d[N.M220] = ordered_json::array();
    for (const auto* aj : det->FM220_620List.GetListaOrdenada()) {
      ordered_json ajuste = Registro(N.M220, CamposM110(*aj));
      auto& m225 = ajuste[N.M225] = ordered_json::array();
      for (const auto* x : aj->FM115_515_225_625List.GetListaOrdenada())
        m225.push_back(Registro(N.M225, CamposM115(*x)));
      m220.push_back(std::move(ajuste));
    }
    auto& m230 = d[N.M230] = ordered_json::array();
    for (const auto* dif : det->FM230_630List.GetListaOrdenada())
      m230.push_back(Registro(N.M230, CamposM230(*dif)));
    auto& m300 = d[N.M300] = ordered_json::array();
    for (const auto* ant : det->FM300_700List.GetListaOrdenada())
      m300.push_back(Registro(N.M300, CamposM300(*ant)));
    m210.push_back(std::move(d));
  }
  return obj;
}

ordered_json ReceitasIsentas(const TM400_800ReceitaIsentaList& ALista, const TNomesBlocoM& N) {
  ordered_json lista = ordered_json::array();
  for (const auto* rec : ALista.GetListaOrdenada()) {
    ordered_json obj = Registro(N.M400, CamposM400(*rec));
    auto& m410 = obj[N.M410] = ordered_json::array();
    for (const auto* det : rec->FM410_810List.GetListaOrdenada())
      m410.push_back(Registro(N.M410, CamposM410(*det)));
    lista.push_back(std::move(obj));
  }
  return lista;
}

ordered_json Apuracoes(const TMapaAberturaBloco& AMapa) {
  ordered_json lista = ordered_json::array();
  for (const auto& [tipo, m001] : AMapa) {
    if (!m001) continue;
    ordered_json item = ordered_json::object();
    item["TIPO_APURACAO"] = static_cast<int>(tipo);
    item["M001"] = RegistroM001ParaJson(*m001);
    lista.push_back(std::move(item));
  }
  return lista;
}

}  // namespace

ordered_json RegistroM001ParaJson(const TM001AberturaBloco& AM001) {
  ordered_json obj = Registro("M001", CamposM001(true));  // o M200 e o M600 saem sempre
  obj["M100"] = Creditos(AM001.FM100List, NomesPIS());
  obj["M200"] = Contribuicao(*AM001.FM200, NomesPIS());
  obj["M350"] = AM001.FM350 ? Registro("M350", CamposM350(*AM001.FM350)) : ordered_json();
  obj["M400"] = ReceitasIsentas(AM001.FM400List, NomesPIS());
  obj["M500"] = Creditos(AM001.FM500List, NomesCOFINS());
  obj["M600"] = Contribuicao(*AM001.FM600, NomesCOFINS());
  obj["M800"] = ReceitasIsentas(AM001.FM800List, NomesCOFINS());
  return obj;
}

ordered_json BlocoMParaJson(const TMapaAberturaBloco& AApuracoes,
                            const std::vector<TResultadoSCPSaida>* ASCP) {
  ordered_json raiz = ordered_json::object();
  raiz["apuracoes"] = Apuracoes(AApuracoes);
  if (ASCP) {
    ordered_json lista = ordered_json::array();
    for (const auto& scp : *ASCP) {
      ordered_json item = ordered_json::object();
      item["CNPJ"] = scp.CNPJ;
      item["apuracoes"] = scp.EFD ? Apuracoes(*scp.EFD) : ordered_json::array();
      lista.push_back(std::move(item));
    }
    raiz["scp"] = std::move(lista);
  }
  return raiz;
}
